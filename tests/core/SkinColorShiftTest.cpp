// Colour shifting: the hue rotation and saturation change of single colours, and of a whole
// loaded skin with its key colour, greys, -1 contour colours and kept title icons.
#include <gtest/gtest.h>

#include "pixel/ColorMath.h"
#include "skin/ColorShift.h"
#include "skin/LoadedSkin.h"

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
