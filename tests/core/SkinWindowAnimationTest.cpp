// Frame counts, alphas, growing rectangles and blend weights of the window animations.
#include <gtest/gtest.h>

#include <vector>

#include "skin/WindowAnimationSteps.h"

using namespace window_animation;

namespace {
std::vector<int> AlphasOf(const std::vector<LayeredFrame>& frames) {
  std::vector<int> v;
  for (const LayeredFrame& f : frames) v.push_back(f.alpha);
  return v;
}
std::vector<Rect> TargetsOf(const std::vector<LayeredFrame>& frames) {
  std::vector<Rect> v;
  for (const LayeredFrame& f : frames) v.push_back(f.target);
  return v;
}
}  // namespace

TEST(WindowAnimationSteps, StepsAreTheTimeInEightMillisecondUnits) {
  struct Case {
    uint16_t time;
    int steps;
  } cases[] = {{0, 0}, {7, 0}, {8, 1}, {15, 1}, {100, 12}, {65535, 8191}};
  for (const Case& c : cases) EXPECT_EQ(StepCount(c.time), c.steps) << c.time;
}

TEST(WindowAnimationSteps, ConstantAlphaRisesByEqualStepsRoundedHalfToEven) {
  struct Case {
    uint16_t time;
    uint8_t alpha;
    std::vector<int> alphas;
  } cases[] = {
      // No steps: the finished picture once, at full alpha.
      {0, 255, {255}},
      {7, 200, {200}},
      // The skin-change default: 12 steps of 21.25, 13 frames; 42.5 -> 42, 127.5 -> 128.
      {100, 255, {21, 42, 64, 85, 106, 128, 149, 170, 191, 212, 234, 255, 255}},
      {16, 255, {128, 255, 255}},
      {24, 100, {33, 67, 100, 100}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AlphasOf(LayeredFrames(40, 20, c.time, c.alpha, TvlAnimType::atFading)), c.alphas) << c.time;
    EXPECT_EQ(AlphasOf(LayeredFrames(40, 20, c.time, c.alpha, TvlAnimType::atAero)), c.alphas) << c.time;
  }
}

TEST(WindowAnimationSteps, GrowingStartsHalfSizeCentredAndEndsWhole) {
  struct Case {
    int width, height;
    uint16_t time;
    std::vector<Rect> targets;
  } cases[] = {
      // Four steps of 25 x 12.5 pixels on each side; 37.5 -> 38, 162.5 -> 162, 12.5 -> 12.
      {400, 200, 32, {{100, 50, 300, 150}, {75, 38, 325, 162}, {50, 25, 350, 175}, {25, 12, 375, 188}, {0, 0, 400, 200}}},
      // Thirds do not add up exactly: the last frame is still the whole picture.
      {300, 90, 24, {{75, 22, 225, 68}, {50, 15, 250, 75}, {25, 8, 275, 82}, {0, 0, 300, 90}}},
      {10, 10, 0, {{0, 0, 10, 10}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TargetsOf(LayeredFrames(c.width, c.height, c.time, 255, TvlAnimType::atAero)), c.targets) << c.width;
  for (const LayeredFrame& f : LayeredFrames(400, 200, 32, 255, TvlAnimType::atFading))
    EXPECT_EQ(f.target, (Rect{0, 0, 400, 200}));
}

TEST(WindowAnimationSteps, FadingCopiesThePictureOnceGrowingStretchesItEveryFrame) {
  Bitmap composed(4, 4, PixelFormat::pf32bit);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) composed.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 4 + x + 1));

  const auto fading = LayeredFrames(4, 4, 16, 255, TvlAnimType::atFading);
  Bitmap frame(4, 4, PixelFormat::pf32bit);
  RenderLayeredFrame(frame, composed, fading, 0, TvlAnimType::atFading);
  EXPECT_EQ(frame, composed);
  frame.SetPixel(1, 1, 0x12345678u);
  RenderLayeredFrame(frame, composed, fading, 1, TvlAnimType::atFading);
  EXPECT_EQ(frame.GetPixel(1, 1), 0x12345678u);

  Bitmap big(8, 8, PixelFormat::pf32bit);
  Bitmap bigComposed(8, 8, PixelFormat::pf32bit);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) bigComposed.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 8 + x + 1));
  const auto growing = LayeredFrames(8, 8, 16, 255, TvlAnimType::atAero);
  ASSERT_EQ(growing[0].target, (Rect{2, 2, 6, 6}));
  RenderLayeredFrame(big, bigComposed, growing, 0, TvlAnimType::atAero);
  struct Probe {
    int x, y;
    uint32_t pixel;
  } probes[] = {
      {1, 1, 0},                                    // outside the half-size picture
      {2, 2, bigComposed.GetPixel(0, 0)},            // its corners are the picture's corners
      {5, 5, bigComposed.GetPixel(6, 6)},
      {6, 2, 0},
  };
  for (const Probe& p : probes) EXPECT_EQ(big.GetPixel(p.x, p.y), p.pixel) << p.x << "," << p.y;
  RenderLayeredFrame(big, bigComposed, growing, 2, TvlAnimType::atAero);
  EXPECT_EQ(big, bigComposed);
}

TEST(WindowAnimationSteps, BlendWeightsFallFromFullToNothing) {
  struct Case {
    uint16_t time;
    std::vector<int> weights;
  } cases[] = {
      {0, {}},
      {8, {0}},
      {32, {192, 129, 66, 3}},
      {100, {234, 213, 192, 171, 150, 129, 108, 87, 66, 45, 24, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlendWeights(c.time), c.weights) << c.time;
  // More steps than weight levels still end at 0 rather than never fading.
  const std::vector<int> slow = BlendWeights(4000);
  ASSERT_EQ(slow.size(), 500u);
  EXPECT_EQ(slow.front(), 254);
  EXPECT_EQ(slow.back(), 0);
}

TEST(WindowAnimationSteps, MixLeansToTheOldPictureByTheWeight) {
  struct Case {
    int oldValue, newValue, weight, mixed;
  } cases[] = {
      {200, 100, 128, 150}, {0, 255, 255, 0}, {255, 0, 0, 0}, {10, 20, 0, 20}, {255, 0, 255, 254}, {30, 200, 3, 198},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MixChannel(c.oldValue, c.newValue, c.weight), c.mixed) << c.oldValue << " " << c.newValue << " " << c.weight;

  Bitmap old(2, 1, PixelFormat::pf24bit), fresh(2, 1, PixelFormat::pf24bit), frame(2, 1, PixelFormat::pf32bit);
  old.SetPixel(0, 0, 0x00C8C8C8u);
  fresh.SetPixel(0, 0, 0x00646464u);
  old.SetPixel(1, 0, 0x000000FFu);
  fresh.SetPixel(1, 0, 0x00FF0000u);
  BlendFrame(frame, old, fresh, 128);
  EXPECT_EQ(frame.GetPixel(0, 0), 0xFF969696u);
  EXPECT_EQ(frame.GetPixel(1, 0), 0xFF7F007Fu);
}
