// The shadow of a form in extended mode: the nine-part mapping of the shadow picture, laying it
// over the composed picture, and giving a painted band its alpha back.
#include <gtest/gtest.h>

#include "frame/ShadowFrame.h"

using namespace frame_shadow;

namespace {

// A 6 x 6 shadow picture whose pixels tell where they came from: red = x, green = y, alpha 128.
Bitmap NumberedShadow() {
  Bitmap b(6, 6, PixelFormat::pf32bit);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) b.SetPixel(x, y, 0x80000000u | (y << 8) | x);
  return b;
}

Bitmap Filled(int w, int h, uint32_t value) {
  Bitmap b(w, h, PixelFormat::pf32bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, value);
  return b;
}

Point SourceOf(uint32_t pixel) { return {static_cast<int>(pixel & 0xFF), static_cast<int>((pixel >> 8) & 0xFF)}; }

}  // namespace

TEST(FrameShadow, NinePartsKeepTheCornersAndStretchTheEdges) {
  Bitmap shadow = NumberedShadow();
  NinePart nine(shadow, {2, 2, 2, 2}, 20, 12);
  struct Case {
    const char* name;
    Point at, source;
  } cases[] = {
      {"top left corner", {0, 0}, {0, 0}},
      {"top left corner's inner end", {1, 1}, {1, 1}},
      {"top edge, start", {2, 0}, {2, 0}},
      {"top edge, end", {17, 0}, {3, 0}},
      {"top right corner", {19, 0}, {5, 0}},
      {"top right corner's inner end", {18, 1}, {4, 1}},
      {"left edge", {0, 6}, {0, 3}},
      {"bottom right corner", {19, 11}, {5, 5}},
      {"bottom edge", {10, 10}, {3, 4}},
  };
  for (const auto& c : cases) EXPECT_EQ(SourceOf(nine.At(c.at.x, c.at.y)), c.source) << c.name;
  EXPECT_EQ(nine.Inner(), (Rect{2, 2, 18, 10}));
}

TEST(FrameShadow, BordersShrinkToFitASmallPicture) {
  Bitmap shadow = NumberedShadow();
  NinePart nine(shadow, {5, 5, 5, 5}, 4, 4);
  EXPECT_LE(nine.left + nine.right, 4);
  EXPECT_LE(nine.top + nine.bottom, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      Point s = SourceOf(nine.At(x, y));
      EXPECT_TRUE(s.x >= 0 && s.x < 6 && s.y >= 0 && s.y < 6) << x << "," << y;
    }
}

TEST(FrameShadow, LaidOverTransparentAndOpaquePixelsLeavingTheKeptAreaAlone) {
  Bitmap shadow = Filled(6, 6, 0x80000000u);  // half-transparent black
  NinePart nine(shadow, {2, 2, 2, 2}, 10, 10);
  Bitmap image(10, 10, PixelFormat::pf32bit);  // transparent
  const Rect window{1, 1, 9, 9};
  for (int y = window.top; y < window.bottom; ++y)
    for (int x = window.left; x < window.right; ++x) image.SetPixel(x, y, 0xFFFFFFFFu);  // opaque white
  Bitmap over = image;
  BlendShadowFrame(over, nine, {});
  EXPECT_EQ(over.GetPixel(0, 0), 0x80000000u) << "over transparent: the shadow's pixel";
  // Over opaque white: half black, still opaque.
  uint32_t p = over.GetPixel(1, 1);
  EXPECT_EQ(p >> 24, 255u);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 127, 1);
  EXPECT_EQ(over.GetPixel(5, 5), 0xFFFFFFFFu) << "the inner area";

  Bitmap kept = image;
  BlendShadowFrame(kept, nine, window);
  EXPECT_EQ(kept.GetPixel(0, 0), 0x80000000u);
  EXPECT_EQ(kept.GetPixel(1, 1), 0xFFFFFFFFu) << "inside the kept area";
  EXPECT_EQ(kept.GetPixel(8, 8), 0xFFFFFFFFu);
  EXPECT_EQ(kept.GetPixel(9, 5), 0x80000000u) << "right of it";

  Bitmap replaced = image;
  BlendShadowFrame(replaced, nine, {}, true);
  EXPECT_EQ(replaced.GetPixel(1, 1), 0x80000000u) << "replacing takes the shadow's alpha";
  EXPECT_EQ(replaced.GetPixel(5, 5), 0xFFFFFFFFu);
}

TEST(FrameShadow, CornerPixelsTakeTheShadowAsItIs) {
  Bitmap shadow = NumberedShadow();
  NinePart nine(shadow, {2, 2, 2, 2}, 10, 10);
  Bitmap image = Filled(10, 10, 0xFFFFFFFFu);
  PutShadowPixels(image, nine, {{0, 0, 2, 1}, {9, 9, 12, 12}});
  EXPECT_EQ(image.GetPixel(0, 0), 0x80000000u);
  EXPECT_EQ(image.GetPixel(1, 0), 0x80000001u);
  EXPECT_EQ(image.GetPixel(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.GetPixel(9, 9), 0x80000505u) << "clipped to the picture";
}

TEST(FrameShadow, APaintedBandGetsItsAlphaBack) {
  Bitmap image(8, 6, PixelFormat::pf32bit);
  Bitmap before(8, 3, PixelFormat::pf32bit);
  for (int x = 0; x < 8; ++x) before.SetPixel(x, 1, static_cast<uint32_t>(x * 30) << 24);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) image.SetPixel(x, y, 0x00123456u);  // text drawn with alpha 0
  RestoreAlpha(image, before, {0, 2}, {2, 3, 6, 4});
  EXPECT_EQ(image.GetPixel(3, 3), (90u << 24) | 0x123456u);
  EXPECT_EQ(image.GetPixel(5, 3), (150u << 24) | 0x123456u);
  EXPECT_EQ(image.GetPixel(1, 3), 0x00123456u) << "left of the area";
  EXPECT_EQ(image.GetPixel(3, 4), 0x00123456u) << "below the area";
}
