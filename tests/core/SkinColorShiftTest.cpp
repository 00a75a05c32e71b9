// Colour shifting: the hue rotation and saturation change of single colours, and of a whole
// loaded skin with its key colour, greys, -1 contour colours and kept title icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "SkinTestSupport.h"
#include "pixel/ColorMath.h"
#include "skin/ColorShift.h"
#include "skin/LoadedSkin.h"
#include "skin/SkinLoader.h"
#include "skin/StoredSkins.h"

TEST(SkinColorShift, RoundingSendsHalvesToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {7, 7}};
  for (auto [value, expected] : cases) EXPECT_EQ(RoundToNearestEven(value), expected) << value;
}

TEST(SkinColorShift, HueRotatesPrimariesAndLeavesGreys) {
  const struct {
    TColor color;
    int offset;
    TColor expected;
  } cases[] = {
      {0x0000FF, 120, 0x00FF00},   // red to green
      {0x0000FF, 240, 0xFF0000},   // red to blue
      {0x0000FF, -120, 0xFF0000},  // backwards: blue as well
      {0x0000FF, 360, 0x0000FF},
      {0x0000FF, 720 + 120, 0x00FF00},
      {0x00FF00, 120, 0xFF0000},
      {0xFFFFFF, 77, 0xFFFFFF},
      {0x000000, 77, 0x000000},
      {0x808080, 77, 0x808080},
      {0x4B4B4B, -200, 0x4B4B4B},
      {static_cast<TColor>(0x7F0000FF), 120, 0x00FF00},  // the answer has no top byte
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftHue(c.color, c.offset), c.expected) << std::hex << c.color << " by " << std::dec << c.offset;
}

TEST(SkinColorShift, SaturationMovesChannelsAgainstTheirAverage) {
  const struct {
    TColor color;
    int amount;
    TColor expected;
  } cases[] = {
      {0x123456, 0, 0x123456},
      {0x804020, 100, 0x4B4B4B},                   // fully grey: the average (32 + 64 + 128) / 3 = 74.67
      {0x804020, -100, MakeColor(0, 0x35, 0xB5)},  // distance doubled, limited to 0..255
      {0x808080, -100, 0x808080},
      {0xFFFFFF, 50, 0xFFFFFF},
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftSaturation(c.color, c.amount), c.expected) << std::hex << c.color;
}

TEST(SkinColorShift, FractionalHuesAndHalvesRound) {
  // The hue is rounded to whole degrees before the rotation (a truncated one moves these by a
  // degree: 0.71 becomes 0, -7.06 becomes 352); channels that land exactly on a half go to the
  // even neighbour (16.5 -> 16, 18.5 -> 18; 0.5 -> 0).
  const struct {
    TColor color;
    int offset;
    TColor hue;  // ShiftHue by offset
    int amount;
    TColor saturation;  // ShiftSaturation by amount
  } cases[] = {
      {MakeColor(255, 3, 0), 120, MakeColor(0, 255, 4), 0, MakeColor(255, 3, 0)},    // hue 0.71 -> 1
      {MakeColor(255, 0, 30), 120, MakeColor(30, 255, 0), 0, MakeColor(255, 0, 30)},  // hue 352.94 -> 353
      {MakeColor(16, 66, 0), 120, MakeColor(0, 16, 66), 0, MakeColor(16, 66, 0)},    // 66 x 0.25 = 16.5
      {MakeColor(18, 74, 0), 120, MakeColor(0, 18, 74), 0, MakeColor(18, 74, 0)},    // 74 x 0.25 = 18.5
      {MakeColor(3, 0, 0), 0, MakeColor(3, 0, 0), 50, MakeColor(2, 0, 0)},            // 0 + 50 x 1 / 100 = 0.5
      {MakeColor(0, 0, 7), 0, MakeColor(0, 0, 7), 30, MakeColor(1, 1, 6)},            // 0.7 -> 1, 5.6 -> 6
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftHue(c.color, c.offset), c.hue) << std::hex << c.color << " by " << std::dec << c.offset;
    EXPECT_EQ(ShiftSaturation(c.color, c.amount), c.saturation) << std::hex << c.color << " by " << std::dec << c.amount;
  }
}

namespace {

// A skin with a 4 x 1 master bitmap (key, grey, red, and a kept close icon at x = 3), one 32-bit
// own picture, a glow picture of the close icon and a section with colours and a gradient.
LoadedSkin ShiftableSkin(int keepHue) {
  LoadedSkin skin;
  skin.Data.BIKeepHue = static_cast<int16_t>(keepHue);
  skin.Data.Shadow1Color = 0x0000FF;
  skin.MasterBitmap = Bitmap(6, 1, PixelFormat::pf24bit);
  const uint32_t master[6] = {0xFF00FF, 0x777777, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF};
  for (int x = 0; x < 6; ++x) skin.MasterBitmap.SetPixel(x, 0, master[x]);
  TsGeneralData global;
  global.ClassName = "GLOBALINFO";
  TsGeneralData button;
  button.ClassName = "BUTTON";
  button.Color = 0x0000FF;
  button.FontColor = {0x0000FF, -1, 0x00FF00, -1, -1};
  button.GlowColor = 0x0000FF;
  button.GradientArray = {{0x0000FF, 0x00FF00, 50, 0, 0}};
  skin.Sections = {global, button};
  auto item = [](std::string section, std::string key, Rect r, std::shared_ptr<Bitmap> image) {
    TsMaskData m;
    m.SectionName = std::move(section);
    m.PropertyName = std::move(key);
    m.R = r;
    m.ImageCount = 1;
    m.Image = std::move(image);
    return m;
  };
  auto picture = std::make_shared<Bitmap>(2, 2, PixelFormat::pf32bit);
  for (int i = 0; i < 4; ++i) picture->SetPixel(i % 2, i / 2, 0x400000FF);
  auto glow = std::make_shared<Bitmap>(*picture);
  skin.Items = {item("GLOBALINFO", "BICONCLOSE", {3, 0, 4, 1}, nullptr), item("GLOBALINFO", "BICONMAX", {4, 0, 5, 1}, nullptr),
                item("BUTTON", "GLOW0", {0, 0, 2, 2}, picture), item("GLOBALINFO", "BICONCLOSEGLOW0", {0, 0, 2, 2}, glow)};
  return skin;
}

}  // namespace

TEST(SkinColorShift, HueOfAWholeSkinKeepsKeyGreysAndKeptIcons) {
  for (int keepHue : {0, 1, 2}) {
    LoadedSkin skin = ShiftableSkin(keepHue);
    ApplyHueOffset(skin, 120);
    EXPECT_EQ(skin.MasterBitmap.GetPixel(0, 0), 0xFF00FFu);
    EXPECT_EQ(skin.MasterBitmap.GetPixel(1, 0), 0x777777u);
    EXPECT_EQ(skin.MasterBitmap.GetPixel(2, 0), 0x00FF00u);
    EXPECT_EQ(skin.MasterBitmap.GetPixel(3, 0), keepHue ? 0x0000FFu : 0x00FF00u) << "close, BIKEEPHUE " << keepHue;
    EXPECT_EQ(skin.MasterBitmap.GetPixel(4, 0), keepHue == 1 ? 0x0000FFu : 0x00FF00u) << "maximise, BIKEEPHUE " << keepHue;
    EXPECT_EQ(skin.MasterBitmap.GetPixel(5, 0), 0x00FF00u);
    EXPECT_EQ(skin.Items[2].Image->GetPixel(0, 0), 0x4000FF00u);  // alpha kept
    EXPECT_EQ(skin.Items[3].Image->GetPixel(0, 0), keepHue ? 0x400000FFu : 0x4000FF00u) << "close glow";
    const TsGeneralData& button = skin.Sections[1];
    EXPECT_EQ(button.Color, 0x00FF00);
    EXPECT_EQ(button.GlowColor, 0x00FF00);
    EXPECT_EQ(button.FontColor[1], -1);
    EXPECT_EQ(button.FontColor[2], 0xFF0000);
    EXPECT_EQ(button.GradientArray[0].Color1, 0x00FF00);
    EXPECT_EQ(skin.Data.Shadow1Color, 0x00FF00);
  }
}

TEST(SkinColorShift, SaturationOfAWholeSkinWrapsAndLeavesGlowColours) {
  LoadedSkin skin = ShiftableSkin(0);
  ApplySaturation(skin, -100);  // amount 100: everything grey
  EXPECT_EQ(skin.MasterBitmap.GetPixel(0, 0), 0xFF00FFu);
  EXPECT_EQ(skin.MasterBitmap.GetPixel(2, 0), 0x555555u);
  EXPECT_EQ(skin.Items[2].Image->GetPixel(0, 0), 0x40555555u);
  EXPECT_EQ(skin.Sections[1].Color, 0x555555);
  EXPECT_EQ(skin.Sections[1].GlowColor, 0x0000FF);
  EXPECT_EQ(skin.Sections[1].FontColor[1], -1);

  LoadedSkin wrapped = ShiftableSkin(0);
  ApplySaturation(wrapped, 101);  // 101 wraps to 0: no change
  EXPECT_EQ(wrapped.MasterBitmap.GetPixel(2, 0), 0x0000FFu);
  EXPECT_EQ(wrapped.Sections[1].Color, 0x0000FF);

  LoadedSkin stronger = ShiftableSkin(0);
  stronger.Sections[1].Color = 0x804020;
  ApplySaturation(stronger, 100);
  EXPECT_EQ(stronger.Sections[1].Color, MakeColor(0, 0x35, 0xB5));
}

namespace {

// The colour shifts computed through the floating-point colour-space conversion, as earlier
// versions of this program did: the results the whole-number code must keep.
namespace floating {

uint8_t Round(double v) { return static_cast<uint8_t>(std::clamp(static_cast<double>(RoundToNearestEven(v)), 0.0, 255.0)); }

TColor ShiftHue(TColor c, int offset) {
  const double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const double v = std::max({r, g, b}), m = std::min({r, g, b});
  const double s = v == 0 ? 0 : (v - m) / v;
  if (s == 0) return c;
  const double f = 60.0 / (v - m);
  double h;
  if (r == v) h = f * (g - b);
  else if (g == v) h = f * (b - r) + 120;
  else h = f * (r - g) + 240;
  if (h < 0) h += 360;
  double shifted = std::fmod(static_cast<double>(RoundToNearestEven(h + offset)), 360.0);
  if (shifted < 0) shifted += 360;
  const int i = static_cast<int>(shifted / 60);
  const double x = shifted / 60 - i;
  const double p = std::clamp(v * (1 - s), 0.0, 255.0);
  const double q = std::clamp(v * (1 - x * s), 0.0, 255.0);
  const double t = std::clamp(v * (1 - (1 - x) * s), 0.0, 255.0);
  switch (i) {
    case 0: return MakeColor(Round(v), Round(t), Round(p));
    case 1: return MakeColor(Round(q), Round(v), Round(p));
    case 2: return MakeColor(Round(p), Round(v), Round(t));
    case 3: return MakeColor(Round(p), Round(q), Round(v));
    case 4: return MakeColor(Round(t), Round(p), Round(v));
    default: return MakeColor(Round(v), Round(p), Round(q));
  }
}

TColor ShiftSaturation(TColor c, int amount) {
  if (amount == 0) return c;
  const double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const double average = (r + g + b) / 3;
  auto move = [&](double ch) { return Round(ch + amount * (average - ch) / 100); };
  return MakeColor(move(r), move(g), move(b));
}

}  // namespace floating

// Every colour of the stored skin's pictures (the master bitmap and every own picture), once.
std::vector<uint32_t> StoredSkinColours() {
  TsStoredSkins stored;
  stored.Add()->SetName(kPearlMistSkinName);
  stored.Items(0)->SetData(PearlMistArchive());
  skintest::MemoryFileSystem files;
  PortableImageDecoder decoder;
  SkinLoadRequest request;
  request.skinName = kPearlMistSkinName;
  request.storedSkins = &stored;
  request.files = &files;
  request.decoder = &decoder;
  LoadedSkin loaded;
  LoadSkin(loaded, request);
  std::set<uint32_t> colours;
  auto collect = [&](const Bitmap& picture) {
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) colours.insert(picture.GetPixel(x, y) & 0xFFFFFF);
  };
  collect(loaded.MasterBitmap);
  for (const TsMaskData& item : loaded.Items)
    if (item.Image) collect(*item.Image);
  return {colours.begin(), colours.end()};
}

}  // namespace

// Every colour of the stored skin, shifted by every hue offset from -180 to 180 in steps of 15
// and by the saturations -100, 0, 50 and 100 (hue first, as a load does), against the
// floating-point results. Pixels are shifted one by one, so a picture holding each colour once
// stands for every picture of the skin.
TEST(SkinColorShift, WholeNumbersMatchTheFloatingPointShiftOnTheStoredSkin) {
  std::vector<uint32_t> colours = StoredSkinColours();
  ASSERT_GT(colours.size(), 500u);
  // And a lattice of the whole colour cube, for the halves the skin's colours do not meet.
  for (uint32_t r = 0; r < 256; r += 15)
    for (uint32_t g = 0; g < 256; g += 15)
      for (uint32_t b = 0; b < 256; b += 15) colours.push_back((r << 16) | (g << 8) | b);
  Bitmap original(static_cast<int>(colours.size()), 1, PixelFormat::pf24bit);
  for (size_t i = 0; i < colours.size(); ++i) original.SetPixel(static_cast<int>(i), 0, colours[i]);
  size_t compared = 0, channelsApart = 0, worst = 0;
  for (int hue = -180; hue <= 180; hue += 15) {
    for (int saturation : {-100, 0, 50, 100}) {
      LoadedSkin skin;
      skin.MasterBitmap = original;
      ApplyHueOffset(skin, hue);
      ApplySaturation(skin, saturation);
      const int amount = -(saturation % 101);
      for (size_t i = 0; i < colours.size(); ++i) {
        const TColor colour = static_cast<TColor>(colours[i]);
        // Pixels of the key colour are never shifted, also when the hue rotation made them; an
        // offset of 0 leaves the skin alone.
        TColor expected = colour == 0xFF00FF || hue == 0 ? colour : floating::ShiftHue(colour, hue);
        if (expected != 0xFF00FF) expected = floating::ShiftSaturation(expected, amount);
        const uint32_t got = skin.MasterBitmap.GetPixel(static_cast<int>(i), 0);
        ++compared;
        for (int shift = 0; shift < 24; shift += 8) {
          const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((static_cast<uint32_t>(expected) >> shift) & 0xFF);
          const size_t apart = static_cast<size_t>(std::abs(a - b));
          worst = std::max(worst, apart);
          if (apart > 0) ++channelsApart;
        }
      }
    }
  }
  std::printf("colour shift: %zu colours of the stored skin shifted 100 ways, %zu channels apart from the floating-point results\n",
              compared, channelsApart);
  // Exact halves are decided by the floating-point formula itself, so no channel differs.
  EXPECT_EQ(channelsApart, 0u);
  EXPECT_EQ(worst, 0u);
}
