// Fade frames, glow placement and ids, and the premultiplied hand-over of glow pictures.
#include <gtest/gtest.h>

#include <vector>

#include "controls/FadeSteps.h"
#include "paint/GlowLayout.h"
#include "pixel/Premultiply.h"

namespace {

std::vector<int> Weights(const FadeSteps& fade) {
  std::vector<int> weights;
  for (int step = fade.Step; step <= fade.Steps; ++step) weights.push_back(FadeWeight(step, fade.Steps));
  return weights;
}

TEST(FadeStepsTest, WeightsRunFromNearlyOldToFullyNew) {
  FadeSteps fade;
  PrepareFade(fade, false, 20, false, 1);
  EXPECT_EQ(fade.Steps, 20);
  EXPECT_EQ(fade.Step, 1);
  EXPECT_EQ(fade.Direction, 1);
  std::vector<int> expected{243, 230, 217, 204, 191, 179, 166, 153, 140, 127,
                            115, 102, 89, 76, 63, 51, 38, 25, 12, 0};
  EXPECT_EQ(Weights(fade), expected);

  FadeSteps halved;
  PrepareFade(halved, false, 20, true, 1);
  EXPECT_EQ(Weights(halved), (std::vector<int>{230, 204, 179, 153, 127, 102, 76, 51, 25, 0}));
}

TEST(FadeStepsTest, ARunningFadeStartsOverWithTheSameLength) {
  FadeSteps fade;
  PrepareFade(fade, false, 20, false, 1);
  fade.Step = 7;  // half-way
  PrepareFade(fade, true, 20, false, 1);
  EXPECT_EQ(fade.Step, 1);
  EXPECT_EQ(fade.Steps, 20);
  PrepareFade(fade, true, 20, true, 1);  // a press during a hover fade
  EXPECT_EQ(fade.Step, 1);
  EXPECT_EQ(fade.Steps, 10);
}

TEST(FadeStepsTest, FinishedAfterTheLastFrameOrBeforeTheFirst) {
  FadeSteps fade{10, 10, 1};
  EXPECT_FALSE(FadeFinished(fade));
  fade.Step = 11;
  EXPECT_TRUE(FadeFinished(fade));
  fade.Step = -1;
  EXPECT_TRUE(FadeFinished(fade));
  EXPECT_EQ(FadeWeight(3, 0), 0) << "no frames: the new look";
}

TEST(GlowLayoutTest, WholeControlGetsTheWholePictureAroundIt) {
  // A 75 x 25 button at (100, 200), glow item margins 8, 7, 9, 10, pulled in by 2.
  GlowPlacement p = PlaceGlow(Rect::FromSize(100, 200, 75, 25), Rect{0, 0, 75, 25}, Rect{8, 7, 9, 10}, 2);
  EXPECT_EQ(p.FullWidth, 75 + 8 + 9 - 4);
  EXPECT_EQ(p.FullHeight, 25 + 7 + 10 - 4);
  EXPECT_EQ(p.Window, Rect::FromSize(100 - 8 + 2, 200 - 7 + 2, p.FullWidth, p.FullHeight));
  EXPECT_EQ(p.Crop, (Point{0, 0}));
}

TEST(GlowLayoutTest, CutsTheGlowWhereTheControlIsHidden) {
  const Rect control = Rect::FromSize(100, 200, 75, 25), margins{8, 8, 8, 8};
  struct Case {
    const char* name;
    Rect visible;
    Point crop;
    Rect window;
  } cases[] = {
      // Hidden on the left up to x 10: the picture starts at 8 + 10 - 2 = 16.
      {"left cut", {10, 0, 75, 25}, {16, 0}, Rect::FromSize(100 + 16 + 2 - 8, 194, 87 - 16, 37)},
      // Hidden right of x 50: the window keeps the left glow and the visible part only.
      {"right cut", {0, 0, 50, 25}, {0, 0}, Rect::FromSize(94, 194, 8 + 50 - 2, 37)},
      // Hidden below y 20.
      {"bottom cut", {0, 0, 75, 20}, {0, 0}, Rect::FromSize(94, 194, 87, 8 + 20 - 2)},
      // Visible only from (5, 5) to (40, 25): left and top cut, right cut to the visible width.
      {"left, top and right", {5, 5, 40, 25}, {11, 11}, Rect::FromSize(105, 205, 35, 37 - 11)},
  };
  for (const auto& c : cases) {
    GlowPlacement p = PlaceGlow(control, c.visible, margins, 2);
    EXPECT_EQ(p.Crop, c.crop) << c.name;
    EXPECT_EQ(p.Window, c.window) << c.name;
  }
}

TEST(GlowLayoutTest, RegistryReusesFreedIds) {
  SlotRegistry<int> registry;
  for (int i = 0; i < 1000; ++i) {
    int id = registry.Add(std::make_unique<int>(i));
    ASSERT_NE(registry.Get(id), nullptr);
    EXPECT_EQ(*registry.Take(id), i);
  }
  EXPECT_EQ(registry.SlotCount(), 1u);
  int a = registry.Add(std::make_unique<int>(1));
  int b = registry.Add(std::make_unique<int>(2));
  EXPECT_NE(a, b);
  registry.Take(a);
  EXPECT_EQ(registry.Take(a), nullptr) << "an emptied slot";
  EXPECT_EQ(registry.Take(57), nullptr) << "outside the registry";
  EXPECT_EQ(registry.Add(std::make_unique<int>(3)), a);
  EXPECT_EQ(registry.TakeAll().size(), 2u);
  EXPECT_EQ(registry.SlotCount(), 0u);
}

TEST(PremultiplyTest, ColourBytesScaleWithAlpha) {
  Bitmap b(2, 2, PixelFormat::pf32bit);
  b.SetPixel(0, 0, 0x00FFFFFF);  // fully transparent white becomes black
  b.SetPixel(1, 0, 0xFF123456);  // opaque stays
  b.SetPixel(0, 1, 0x80FF8001);  // half: 255 -> 128, 128 -> 64, 1 -> 1 (0.502 rounds up)
  b.SetPixel(1, 1, 0x01FF0000);
  PremultiplyAlpha(b);
  EXPECT_EQ(b.GetPixel(0, 0), 0x00000000u);
  EXPECT_EQ(b.GetPixel(1, 0), 0xFF123456u);
  EXPECT_EQ(b.GetPixel(0, 1), 0x80804001u);
  EXPECT_EQ(b.GetPixel(1, 1), 0x01010000u);

  Bitmap rgb(2, 2, PixelFormat::pf24bit);
  rgb.SetPixel(0, 0, 0x123456);
  PremultiplyAlpha(rgb);
  EXPECT_EQ(rgb.GetPixel(0, 0), 0x123456u) << "24-bit pictures have no alpha";
}

}  // namespace
