// Section backgrounds: the choice between the element's own look and the parent's background,
// their mixing by transparency, and textures, gradients and colour shares of the own look.
#include <gtest/gtest.h>

#include "paint/Gradient.h"
#include "paint/SectionBackground.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Item;
using painttest::Solid;

namespace {

constexpr uint32_t kMarker = 0xFF00FF;

TsGradArray Steps(std::initializer_list<TsGradItem> steps) { return TsGradArray(steps); }
TsGradItem Step(TColor from, TColor to, int percent) { return {from, to, static_cast<uint8_t>(percent), 0, 0}; }

// "16777215;15198183;50;0;0;15198183;15198183;2;0;0;15198183;15856113;45;0;0;15856113;15856113;0;0;0"
TsGradArray ButtonGradient() {
  return Steps({Step(16777215, 15198183, 50), Step(15198183, 15198183, 2), Step(15198183, 15856113, 45), Step(15856113, 15856113, 0)});
}
// "16777215;12632256;52;0;0;12632256;14869218;45;0;0;14869218;14869218;0;0;0"
TsGradArray LacqueredEditHotGradient() {
  return Steps({Step(16777215, 12632256, 52), Step(12632256, 14869218, 45), Step(14869218, 14869218, 0)});
}

// A texture item of the section under the key, cut from the master bitmap.
void AddTexture(LoadedSkin& skin, const char* section, const char* key, Rect r, int maskType, int mode) {
  TsMaskData item = Item(r, 1, maskType, 0, 0, 0, 0, mode, TvlImgType::itisaTexture);
  item.SectionName = section;
  item.PropertyName = key;
  skin.Items.push_back(item);
}

TsGeneralData Section(const char* name) {
  TsGeneralData s;
  s.ClassName = name;
  return s;
}

// A parent background whose pixel (x, y) has red 10 x and green 10 y.
Bitmap ParentPicture() {
  Bitmap b(12, 12, PixelFormat::pf24bit);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) b.SetPixel(x, y, MakeColor(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 33));
  return b;
}

Bitmap Gradient(int width, int height, const TsGradArray& steps) {
  Bitmap b(width, height, PixelFormat::pf24bit);
  PaintGradient(b, b.Bounds(), steps);
  return b;
}

// Every byte: (parent * a + own * (255 - a) + 127) >> 8.
Bitmap Blended(const Bitmap& parent, const Bitmap& own, int a) {
  Bitmap out = parent;
  for (int y = 0; y < out.Height(); ++y)
    for (int i = 0; i < out.Width() * 3; ++i) out.Row(y)[i] = static_cast<uint8_t>((parent.Row(y)[i] * a + own.Row(y)[i] * (255 - a) + 127) >> 8);
  return out;
}

Bitmap Cut(const Bitmap& b, Rect r) {
  Bitmap out(r.Width(), r.Height(), b.Format());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) out.SetPixel(x, y, b.GetPixel(r.left + x, r.top + y));
  return out;
}

}  // namespace

TEST(PaintSectionBackground, FullyTransparentSectionShowsExactlyTheParent) {
  LoadedSkin skin;
  TsGeneralData edit = Section("LACQUEREDIT");
  edit.Transparency = 100;
  skin.Sections.push_back(edit);
  Bitmap parent = ParentPicture();
  Bitmap target = Solid(6, 4, PixelFormat::pf24bit, kMarker);
  // The element lies at (3, 2) in the parent's picture and at (1, 1) inside its own bitmap.
  PaintSectionBackground(skin, 0, "LACQUEREDIT", BackgroundFromBitmap(parent, 3, 2), clFuchsia, -1, -1, target, {1, 1},
                         {0, 0, 6, 4}, 0);
  EXPECT_EQ(target, Cut(parent, {4, 3, 10, 7}));

  // Painting over the parent's own picture copies nothing.
  Bitmap same = ParentPicture();
  PaintSectionBackground(skin, 0, "LACQUEREDIT", BackgroundFromBitmap(same, 3, 2), clFuchsia, -1, -1, same, {1, 1},
                         {0, 0, 6, 4}, 0);
  EXPECT_EQ(same, ParentPicture());
}

TEST(PaintSectionBackground, HotLacqueredEditShowsSeventyPercentParent) {
  LoadedSkin skin;
  TsGeneralData edit = Section("LACQUEREDIT");
  edit.Transparency = 100;
  edit.HotTransparency = 70;
  edit.HotGradientPercent = 100;
  edit.HotGradientArray = LacqueredEditHotGradient();
  skin.Sections.push_back(edit);
  Bitmap parent = ParentPicture();
  Bitmap target = Solid(6, 10, PixelFormat::pf24bit, kMarker);
  PaintSectionBackground(skin, 0, "LACQUEREDIT", BackgroundFromBitmap(parent, 0, 0), clFuchsia, -1, -1, target, {2, 1},
                         {0, 0, 6, 10}, 1);
  // a = 70 * 255 / 100 = 178.
  EXPECT_EQ(target, Blended(Cut(parent, {2, 1, 8, 11}), Gradient(6, 10, LacqueredEditHotGradient()), 178));
}

TEST(PaintSectionBackground, ButtonGradientBlendsOverItsTextureKeepingFifteenPercent) {
  LoadedSkin skin;
  skin.MasterBitmap = Solid(4, 4, PixelFormat::pf24bit, Grey(100));
  TsGeneralData button = Section("BUTTON");
  button.GradientPercent = 85;
  button.ImagePercent = 15;
  button.GradientArray = ButtonGradient();
  skin.Sections.push_back(button);
  AddTexture(skin, "BUTTON", "PATTERN", {0, 0, 4, 4}, 0, 0);

  Bitmap target = Solid(5, 36, PixelFormat::pf24bit, kMarker);
  PaintSectionBackground(skin, 0, "BUTTON", {}, clFuchsia, -1, -1, target, {0, 0}, target.Bounds(), 0);
  // a = 15 * 255 / 100 = 38; G + I = 100 adds no colour fade.
  EXPECT_EQ(target, Blended(Solid(5, 36, PixelFormat::pf24bit, Grey(100)), Gradient(5, 36, ButtonGradient()), 38));

  // Without a texture (as in the stored skin) the gradient alone remains.
  skin.Items.clear();
  PaintSectionBackground(skin, 0, "BUTTON", {}, clFuchsia, -1, -1, target, {0, 0}, target.Bounds(), 0);
  EXPECT_EQ(target, Gradient(5, 36, ButtonGradient()));
}

TEST(PaintSectionBackground, ColourTransparencyAndSharesPickTheRightComposition) {
  Bitmap parent = Solid(8, 8, PixelFormat::pf24bit, Grey(100));
  struct Case {
    const char* what;
    int transparency, gradientPercent;
    TColor custom;
    TsBackgroundRef background;
    uint32_t expected;
  } cases[] = {
      {"custom colour", 100, 0, static_cast<TColor>(Grey(7)), BackgroundFromBitmap(parent, 0, 0), Grey(7)},
      {"colour mixed with the parent's colour", 40, 0, clFuchsia, {nullptr, 0, 0, static_cast<TColor>(Grey(100)), false},
       Grey(160)},
      {"nothing known of the parent", 40, 0, clFuchsia, {}, Grey(200)},
      {"opaque", 0, 0, clFuchsia, BackgroundFromBitmap(parent, 0, 0), Grey(200)},
      // Own colour blended over the parent's picture: (100 * 127 + 200 * 128 + 127) >> 8.
      {"half transparent over a picture", 50, 0, clFuchsia, BackgroundFromBitmap(parent, 0, 0), Grey(150)},
      // Gradient 0 with 60 % share, faded toward the colour: 0.4 * 200.
      {"gradient share below 100", 0, 60, clFuchsia, {}, Grey(80)},
      // The fill colour stands for the parent when there is no picture: 100 * 127 + 80 * 128.
      {"gradient share over the parent's colour", 50, 60, clFuchsia, {nullptr, 0, 0, static_cast<TColor>(Grey(100)), false},
       Grey(90)},
  };
  for (const auto& c : cases) {
    LoadedSkin skin;
    TsGeneralData panel = Section("PANEL");
    panel.Color = static_cast<TColor>(Grey(200));
    panel.Transparency = c.transparency;
    panel.GradientPercent = c.gradientPercent;
    panel.GradientArray = Steps({Step(0, 0, 100)});
    skin.Sections.push_back(panel);
    Bitmap target = Solid(4, 4, PixelFormat::pf24bit, kMarker);
    PaintSectionBackground(skin, 0, "PANEL", c.background, c.custom, -1, -1, target, {0, 0}, {0, 0, 4, 4}, 0);
    EXPECT_EQ(target, Solid(4, 4, PixelFormat::pf24bit, c.expected)) << c.what;
  }
}

TEST(PaintSectionBackground, InvalidSectionsPaintNothing) {
  LoadedSkin skin;
  Bitmap target = Solid(4, 4, PixelFormat::pf24bit, kMarker);
  for (int index : {-1, 0, 5}) {
    PaintSectionBackground(skin, index, "PANEL", {}, clFuchsia, -1, -1, target, {0, 0}, {0, 0, 4, 4}, 0);
    EXPECT_EQ(target, Solid(4, 4, PixelFormat::pf24bit, kMarker)) << index;
  }
}

TEST(PaintSectionBackground, TopRowTextureLeavesTheSectionColourBelow) {
  // Mode 2 texture, 10 high, on a 100-high rectangle: one row of tiles, then 90 rows of colour.
  LoadedSkin skin;
  skin.MasterBitmap = Solid(3, 10, PixelFormat::pf24bit, Grey(40));
  TsGeneralData panel = Section("PANEL");
  panel.Color = static_cast<TColor>(Grey(230));
  panel.ImagePercent = 100;
  skin.Sections.push_back(panel);
  AddTexture(skin, "PANEL", "PATTERN", {0, 0, 3, 10}, 0, 2);
  Bitmap target = Solid(7, 100, PixelFormat::pf24bit, kMarker);
  PaintSectionBackground(skin, 0, "PANEL", {}, clFuchsia, -1, -1, target, {0, 0}, target.Bounds(), 0);
  EXPECT_EQ(target.GetPixel(6, 9), Grey(40));
  EXPECT_EQ(target.GetPixel(0, 10), Grey(230));
  EXPECT_EQ(target.GetPixel(6, 99), Grey(230));
}

TEST(PaintSectionBackground, MaskedOverlaysGoOnTopInTheNormalStateOnly) {
  // A masked mode-10 pattern with half strength (mask 128) over a colour of 200.
  LoadedSkin skin;
  skin.MasterBitmap = Solid(2, 4, PixelFormat::pf24bit, Grey(128));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) skin.MasterBitmap.SetPixel(x, y, Grey(0));
  TsGeneralData panel = Section("PANEL");
  panel.Color = static_cast<TColor>(Grey(200));
  panel.HotColor = static_cast<TColor>(Grey(200));
  skin.Sections.push_back(panel);
  AddTexture(skin, "PANEL", "HOTPATTERN", {0, 0, 2, 4}, 1, 10);  // serves when there is no normal one
  struct Case {
    int state;
    uint32_t expected;
  } cases[] = {{0, Grey((200 * 128) >> 8)}, {1, Grey(200)}};
  for (const auto& c : cases) {
    Bitmap target = Solid(4, 4, PixelFormat::pf24bit, kMarker);
    PaintSectionBackground(skin, 0, "PANEL", {}, clFuchsia, -1, -1, target, {0, 0}, {0, 0, 4, 4}, c.state);
    EXPECT_EQ(target.GetPixel(1, 1), c.expected) << c.state;
  }
}
