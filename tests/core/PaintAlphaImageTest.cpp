// Pictures with their own transparency: alpha pictures (blend, tint, key, reflection), masked
// pictures, and PNG pictures drawn at their size or stretched.
#include <gtest/gtest.h>

#include "paint/AlphaImage.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Solid;

TEST(PaintAlphaImage, AlphaBlendTintFollowTheirFormulas) {
  // t = ((v - t) * a + t * 256) >> 8.
  struct Case {
    uint32_t source;  // 0xAABBGGRR
    int target, blend;
    TColor tint;
    uint32_t expected;
  } cases[] = {
      {0x00FFFFFFu, 77, 0, clNone, Grey(77)},                   // alpha 0 leaves the target
      {0xFFFFFFFFu, 0, 0, clNone, Grey(254)},                   // one step short of white
      {0xFF000000u, 200, 0, clNone, Grey(0)},
      {0xC8646464u, 0, 50, clNone, Grey(39)},                   // alpha (100 - 50) * 200 / 100 = 100
      {0xFF5A3C1Eu, 0, 0, static_cast<TColor>(0x0080FF), MakeColor(59, 29, 0)},  // grey 60 scaled by 255, 128, 0
  };
  for (const auto& c : cases) {
    Bitmap source = Solid(2, 2, PixelFormat::pf32bit, c.source);
    Bitmap target = Solid(3, 3, PixelFormat::pf24bit, Grey(c.target));
    DrawAlphaImage(target, {1, 1, 3, 3}, source, source.Bounds(), false, c.blend, c.tint, false, {});
    EXPECT_EQ(target.GetPixel(2, 2), c.expected) << std::hex << c.source;
    EXPECT_EQ(target.GetPixel(0, 0), Grey(c.target));
  }
}

TEST(PaintAlphaImage, KeyPixelsTakeTheBackgroundOnlyWhenAsked) {
  Bitmap source = Solid(2, 2, PixelFormat::pf32bit, 0x00FF00FFu);
  Bitmap parent = Solid(4, 4, PixelFormat::pf24bit, Grey(1));
  parent.SetPixel(3, 3, Grey(2));
  struct Case {
    bool valid, keyFromBackground;
    uint32_t expected;
  } cases[] = {{true, true, Grey(2)}, {true, false, Grey(50)}, {false, true, Grey(50)}};
  for (const auto& c : cases) {
    Bitmap target = Solid(2, 2, PixelFormat::pf24bit, Grey(50));
    TsBackgroundRef bg = BackgroundFromBitmap(parent, 2, 2);
    bg.Valid = c.valid;
    DrawAlphaImage(target, {0, 0, 2, 2}, source, {0, 0, 2, 2}, false, 0, clNone, c.keyFromBackground, bg);
    EXPECT_EQ(target.GetPixel(1, 1), c.expected) << c.valid << c.keyFromBackground;
  }
}

TEST(PaintAlphaImage, ReflectionFadesBelowThePicture) {
  // A 1 x 4 opaque picture with blue 30 * (row + 1): rows k = 1..2 below it come from picture
  // rows 2 and 1 with weights 255 and 128 at a third of the alpha.
  Bitmap source(1, 4, PixelFormat::pf32bit);
  for (int y = 0; y < 4; ++y) source.SetPixel(0, y, 0xFF000000u | static_cast<uint32_t>(30 * (y + 1)) << 16);
  Bitmap target = Solid(2, 10, PixelFormat::pf24bit, 0);
  DrawAlphaImage(target, {0, 0, 1, 4}, source, source.Bounds(), true, 0, clNone, false, {});
  auto blue = [&](int y) { return BlueOf(static_cast<TColor>(target.GetPixel(0, y))); };
  EXPECT_EQ(blue(3), (120 * 255) >> 8);
  EXPECT_EQ(blue(4), 0);                    // the first row below stays
  EXPECT_EQ(blue(5), (90 * 85) >> 8);       // alpha 255 * (255 / 3) / 255 = 85
  EXPECT_EQ(blue(6), (60 * 42) >> 8);       // alpha 128 * 85 / 255 = 42
  EXPECT_EQ(blue(7), 0);

  // Near the target's bottom the mirror is cut to the rows that fit, and nothing reads or writes
  // outside either bitmap.
  Bitmap low = Solid(1, 6, PixelFormat::pf24bit, 0);
  DrawAlphaImage(low, {0, 0, 1, 4}, source, source.Bounds(), true, 0, clNone, false, {});
  EXPECT_EQ(BlueOf(static_cast<TColor>(low.GetPixel(0, 5))), (90 * 85) >> 8);
  DrawAlphaImage(low, {0, 3, 1, 7}, source, {0, 1, 1, 9}, true, 0, clNone, false, {});
  DrawAlphaImage(low, {0, -9, 1, -1}, source, {0, -4, 1, 4}, true, 0, clNone, false, {});
}

TEST(PaintAlphaImage, NegativePositionsMoveTheOtherRectangle) {
  Bitmap source(3, 1, PixelFormat::pf32bit);
  for (int x = 0; x < 3; ++x) source.SetPixel(x, 0, 0xFF000000u | static_cast<uint32_t>(100 + x));
  struct Case {
    Rect targetRect, sourceRect;
    int probe, expectedRed;  // red of target (probe, 0); 0 when untouched
  } cases[] = {
      {{-2, 0, 1, 1}, {0, 0, 3, 1}, 0, (102 * 255) >> 8},
      {{0, 0, 3, 1}, {-1, 0, 2, 1}, 1, (100 * 255) >> 8},
      {{0, 0, 3, 1}, {-1, 0, 2, 1}, 0, 0},
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(3, 2, PixelFormat::pf24bit, 0);
    DrawAlphaImage(target, c.targetRect, source, c.sourceRect, false, 0, clNone, false, {});
    EXPECT_EQ(RedOf(static_cast<TColor>(target.GetPixel(c.probe, 0))), c.expectedRed) << c.targetRect.left << " " << c.sourceRect.left;
  }
}

TEST(PaintAlphaImage, MaskedPicturesUseTheirMaskOrAlpha) {
  // 24-bit: source 100 over target 200 through masks 0, 128 and 255 in the lower half.
  Bitmap masked(3, 2, PixelFormat::pf24bit);
  const int masks[] = {0, 128, 255};
  for (int x = 0; x < 3; ++x) {
    masked.SetPixel(x, 0, Grey(100));
    masked.SetPixel(x, 1, Grey(masks[x]));
  }
  Bitmap target = Solid(3, 2, PixelFormat::pf32bit, Grey(200));
  DrawMaskedPicture(target, {0, 0, 3, 1}, masked, {0, 0, 3, 1}, false, {});
  EXPECT_EQ(target.GetPixel(0, 0), 0xFF000000u | Grey(100));
  EXPECT_EQ(target.GetPixel(1, 0), 0xFF000000u | Grey(150));
  EXPECT_EQ(target.GetPixel(2, 0), 0xFF000000u | Grey(199));
  EXPECT_EQ(target.GetPixel(0, 1), Grey(200));

  // 32-bit: D = ((S - D) * A + D * 256) >> 8.
  Bitmap alpha = Solid(2, 2, PixelFormat::pf32bit, 0x80000000u | Grey(0));
  Bitmap target24 = Solid(2, 2, PixelFormat::pf24bit, Grey(201));
  DrawMaskedPicture(target24, {0, 0, 2, 2}, alpha, {0, 0, 2, 2}, false, {});
  EXPECT_EQ(target24.GetPixel(1, 1), Grey(((0 - 201) * 128 + 201 * 256) >> 8));
}

TEST(PaintAlphaImage, MaskedPictureKeyPixelsNeedAValidBackground) {
  Bitmap source = Solid(2, 4, PixelFormat::pf24bit, Grey(0));
  source.SetPixel(0, 0, 0xFF00FF);
  Bitmap parent = Solid(3, 3, PixelFormat::pf24bit, Grey(9));
  struct Case {
    bool valid, cornerMode;
    uint32_t expected;
  } cases[] = {{true, true, 0xFF000000u | Grey(9)}, {true, false, Grey(50)},
               {false, true, 0xFFFF00FFu}};  // without a background the key is a colour
  for (const auto& c : cases) {
    Bitmap target = Solid(2, 2, PixelFormat::pf32bit, Grey(50));
    TsBackgroundRef bg = BackgroundFromBitmap(parent, 1, 1);
    bg.Valid = c.valid;
    DrawMaskedPicture(target, {0, 0, 2, 2}, source, {0, 0, 2, 2}, c.cornerMode, bg);
    EXPECT_EQ(target.GetPixel(0, 0), c.expected) << c.valid << c.cornerMode;
  }
}

TEST(PaintAlphaImage, PngPicturesDrawAtTheirSizeOrStretched) {
  // Half transparent red over grey 100: ((255 - 100) * 128 + 100 * 256) >> 8 = 177 in red.
  Bitmap red = Solid(2, 2, PixelFormat::pf32bit, 0x800000FFu);
  TPNGGraphic picture(red);
  Bitmap surface = Solid(6, 6, PixelFormat::pf32bit, 0xFF000000u | Grey(100));
  picture.Draw(surface, {1, 1, 3, 3});
  EXPECT_EQ(surface.GetPixel(1, 1), 0xFF000000u | MakeColor(177, 50, 50));
  EXPECT_EQ(surface.GetPixel(3, 3), 0xFF000000u | Grey(100));

  // Stretched from 2 x 1 to 4 x 1: colour and alpha averaged separately; here each target
  // pixel covers half a source pixel, so the pictures' pixels simply repeat.
  Bitmap pair(2, 1, PixelFormat::pf32bit);
  pair.SetPixel(0, 0, 0xFF0000FFu);
  pair.SetPixel(1, 0, 0x00FFFFFFu);
  Bitmap wide = Solid(4, 2, PixelFormat::pf24bit, Grey(0));
  TPNGGraphic(pair).Draw(wide, {0, 0, 4, 1});
  EXPECT_EQ(wide.GetPixel(1, 0), static_cast<uint32_t>(MakeColor(254, 0, 0)));
  EXPECT_EQ(wide.GetPixel(2, 0), Grey(0));

  // Pictures without alpha are copied.
  Bitmap plain = Solid(2, 2, PixelFormat::pf24bit, Grey(33));
  Bitmap target = Solid(4, 4, PixelFormat::pf24bit, Grey(0));
  TPNGGraphic(plain).Draw(target, {2, 2, 4, 4});
  EXPECT_EQ(target.GetPixel(3, 3), Grey(33));
}

TEST(PaintAlphaImage, ReflectedPngPicturesMirrorIntoTheSurface) {
  Bitmap opaque = Solid(2, 4, PixelFormat::pf32bit, 0xFF000000u | Grey(240));
  TPNGGraphic picture(opaque);
  picture.SetReflected(true);
  Bitmap surface = Solid(2, 10, PixelFormat::pf24bit, Grey(0));
  picture.Draw(surface, {0, 0, 2, 4});
  EXPECT_EQ(surface.GetPixel(0, 5), Grey((240 * 85) >> 8));  // within the extra half height
  EXPECT_EQ(surface.GetPixel(0, 6), Grey(0));                // beyond it
}
