// The Gaussian kernel, the mask blur and the text glow built on them.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "pixel/GaussBlur.h"
#include "paint/TextGlow.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Solid;

TEST(PaintBlur, KernelRadiusCutsTailsBelowOneIn510) {
  struct Case {
    double sigma;
    int radius;
  } cases[] = {{1, 2}, {0.5, 1}, {0.01, 1}, {0, 1}, {-3, 1}, {3, 8}};
  for (const auto& c : cases) {
    GaussKernel k = MakeGaussKernel(c.sigma);
    EXPECT_EQ(k.radius, c.radius) << c.sigma;
    ASSERT_EQ(k.weights.size(), static_cast<size_t>(2 * k.radius + 1));
    double sum = std::accumulate(k.weights.begin(), k.weights.end(), 0.0);
    EXPECT_NEAR(sum, 1.0, 1e-6) << c.sigma;
    for (size_t i = 0; i < k.weights.size(); ++i) {
      EXPECT_FALSE(std::isnan(k.weights[i]));
      EXPECT_EQ(k.weights[i], k.weights[k.weights.size() - 1 - i]);
    }
  }
  EXPECT_EQ(MakeGaussKernel(0).weights, (std::vector<float>{0, 1, 0}));
}

TEST(PaintBlur, UniformMasksStayExactlyAsTheyAre) {
  for (int value : {255, 0, 77})
    for (double radius : {0.0, 0.7, 1.0, 2.5, 7.0, 40.0}) {
      Bitmap mask = Solid(9, 5, PixelFormat::pf8bit, static_cast<uint32_t>(value));
      BlurMask(mask, radius);
      EXPECT_EQ(mask, Solid(9, 5, PixelFormat::pf8bit, static_cast<uint32_t>(value))) << value << " " << radius;
    }
}

TEST(PaintBlur, InkSpreadsEvenlyAndOnlyMasksAreBlurred) {
  Bitmap mask = Solid(9, 9, PixelFormat::pf8bit, 255);
  mask.SetPixel(4, 4, 0);
  BlurMask(mask, 1);
  EXPECT_LT(mask.GetPixel(4, 4), mask.GetPixel(3, 4));
  EXPECT_LT(mask.GetPixel(3, 4), mask.GetPixel(2, 4));
  EXPECT_EQ(mask.GetPixel(3, 4), mask.GetPixel(5, 4));
  EXPECT_EQ(mask.GetPixel(4, 3), mask.GetPixel(4, 5));
  EXPECT_EQ(mask.GetPixel(3, 3), mask.GetPixel(5, 5));
  EXPECT_EQ(mask.GetPixel(0, 0), 255u);  // beyond the radius of 2

  Bitmap colour = Solid(3, 3, PixelFormat::pf24bit, 0);
  colour.SetPixel(1, 1, 0xFFFFFF);
  BlurMask(colour, 1);
  EXPECT_EQ(colour.GetPixel(0, 1), 0u);
}

namespace {

// Puts ink of a chosen darkness into the top-left pixel of each text rectangle it is given.
class DotRasterizer : public TextRasterizer {
 public:
  explicit DotRasterizer(uint8_t ink) : ink_(ink) {}
  void DrawText(Bitmap& mask, const std::wstring&, const Rect& rect, uint32_t) override {
    rects.push_back(rect);
    if (mask.Bounds().Contains({rect.left, rect.top})) mask.SetPixel(rect.left, rect.top, ink_);
  }
  std::vector<Rect> rects;

 private:
  uint8_t ink_;
};

}  // namespace

TEST(PaintBlur, TextGlowDrawsContoursIntoAGrownMask) {
  DotRasterizer dots(0);
  Bitmap target = Solid(40, 40, PixelFormat::pf24bit, 0);
  Bitmap cache;
  PaintTextGlow(target, dots, L"x", {10, 10, 20, 15}, &cache, clWhite, 2, tcLeft | tcDown, 0);
  // The mask is rect grown by size + 4 = 6; text at (6, 6), one copy per contour flag first.
  EXPECT_EQ(cache.Width(), 22);
  EXPECT_EQ(cache.Height(), 17);
  EXPECT_EQ(dots.rects, (std::vector<Rect>{{5, 6, 15, 11}, {6, 7, 16, 12}, {6, 6, 16, 11}}));
  EXPECT_NE(target.GetPixel(10, 10), 0u);  // glow over the text position
  EXPECT_EQ(target.GetPixel(4, 4), 0u);    // m = 255 far away: untouched

  // A cached mask of the right size is used as it is.
  PaintTextGlow(target, dots, L"x", {10, 10, 20, 15}, &cache, clWhite, 2, tcLeft | tcDown, 0);
  EXPECT_EQ(dots.rects.size(), 3u);
}

TEST(PaintBlur, TextGlowMixesTheColourByTheMask) {
  // Size 0 blurs nothing: the one inked pixel has m = 100. c = (c - k) * m / 255 + k, truncated;
  // alpha = max(0, alpha + m - 255).
  DotRasterizer dots(100);
  Bitmap target = Solid(8, 8, PixelFormat::pf32bit, 0xC8000000u | MakeColor(200, 50, 10));
  PaintTextGlow(target, dots, L"x", {4, 4, 6, 6}, nullptr, static_cast<TColor>(MakeColor(50, 50, 110)), 0, 0, 0);
  // red (200 - 50) * 100 / 255 + 50 = 108; green 50; blue (10 - 110) * 100 / 255 + 110 = 71 (toward zero).
  EXPECT_EQ(target.GetPixel(4, 4), 0x2D000000u | static_cast<uint32_t>(MakeColor(108, 50, 71)));
  EXPECT_EQ(target.GetPixel(5, 5), 0xC8000000u | static_cast<uint32_t>(MakeColor(200, 50, 10)));
  // Glow near the bitmap's edge stays inside it.
  PaintTextGlow(target, dots, L"x", {0, 0, 2, 2}, nullptr, clWhite, 3, 15, 0);
}

TEST(PaintBlur, KernelRadiusOnBothSidesOfTheTailCut) {
  // Sigmas just below and just above the points where the cut tails pass 1/510 and the radius
  // grows by one; a cut moved either way changes the radius of one of each pair.
  const struct {
    double sigma;
    int radius;
  } cases[] = {{0.853, 1}, {0.855, 2}, {1.165, 2}, {1.166, 3}};
  for (const auto& c : cases) EXPECT_EQ(MakeGaussKernel(c.sigma).radius, c.radius) << c.sigma;

  // The blur reaches exactly as far as the radius: a dark dot in a white mask darkens the pixel
  // two away only with the wider kernel.
  for (const auto& c : {cases[0], cases[1]}) {
    Bitmap mask = Solid(9, 1, PixelFormat::pf8bit, 255);
    mask.SetPixel(4, 0, 0);
    BlurMask(mask, c.sigma);
    EXPECT_LT(mask.GetPixel(3, 0), 255u) << c.sigma;
    EXPECT_EQ(mask.GetPixel(2, 0) < 255u, c.radius == 2) << c.sigma;
    EXPECT_EQ(mask.GetPixel(1, 0), 255u) << c.sigma;
  }
}
