// PNG pictures with alpha decoded through the platform's imaging component keep straight
// (not premultiplied) alpha, and the clean-up after loading turns fully transparent white into
// transparent black.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "pixel/BitmapBlend.h"
#include "pixel/WicImageDecoder.h"
#include "tests/core/SkinTestSupport.h"

TEST(PaintPngDecode, PartialAlphaStaysStraightAndTransparentWhiteBecomesBlack) {
  ComInitialization com;
  // 0xAABBGGRR: half-transparent red, transparent white, opaque blue, a quarter-opaque colour.
  const uint32_t pixels[] = {0x800000FFu, 0x00FFFFFFu, 0xFFFF0000u, 0x403264C8u};
  Bitmap source(2, 2, PixelFormat::pf32bit);
  for (int i = 0; i < 4; ++i) source.SetPixel(i % 2, i / 2, pixels[i]);
  std::optional<Bitmap> picture = WicImageDecoder().Decode(ImageFileKind::ifPng, skintest::Png(source));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->Format(), PixelFormat::pf32bit);
  EXPECT_EQ(*picture, source);  // colour bytes as in the file, not multiplied by alpha

  ClearTransparentWhite(*picture);
  EXPECT_EQ(picture->GetPixel(1, 0), 0x00000000u);
  EXPECT_EQ(picture->GetPixel(0, 0), pixels[0]);
  EXPECT_EQ(picture->GetPixel(1, 1), pixels[3]);
}
