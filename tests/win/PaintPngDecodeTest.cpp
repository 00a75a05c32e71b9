// PNG pictures with alpha decoded by the program's decoder keep straight (not premultiplied)
// alpha, and the clean-up after loading turns fully transparent white into transparent black.
// Files the pixel core's codec refuses go to the platform's imaging component. Every decoder
// refuses pictures beyond one limit on total pixels, checked before anything is allocated.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "pixel/BitmapBlend.h"
#include "pixel/PngCodec.h"
#include "pixel/WicImageDecoder.h"
#include "skin/PortableImageDecoder.h"
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

namespace {

// A PNG file: the header's size and form (bit depth, colour type, compression, filter,
// interlace) and the raw rows, each with its filter byte; no rows leaves the picture data out.
std::vector<uint8_t> PngFile(uint32_t width, uint32_t height, std::vector<uint8_t> form, const std::vector<uint8_t>& raw) {
  auto be32 = [](std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
  };
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    be32(png, static_cast<uint32_t>(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    be32(png, static_cast<uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
  };
  std::vector<uint8_t> header;
  be32(header, width);
  be32(header, height);
  header.insert(header.end(), form.begin(), form.end());
  chunk("IHDR", header);
  std::vector<uint8_t> packed;
  if (!raw.empty()) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    packed.resize(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
  }
  chunk("IDAT", packed);
  chunk("IEND", {});
  return png;
}

// A PNG file of a black 1-bit grey picture of any size (small on disk: the rows are all zero);
// `withData` false leaves the picture data out, so only the header claims the size.
std::vector<uint8_t> BlackPng(uint32_t width, uint32_t height, bool withData) {
  std::vector<uint8_t> raw;
  if (withData) raw.assign(static_cast<size_t>(height) * (1 + (width + 7) / 8), 0);
  return PngFile(width, height, {1, 0, 0, 0, 0}, raw);
}

}  // namespace

TEST(PaintPngDecode, EveryDecoderRefusesPicturesBeyondThePixelLimit) {
  ComInitialization com;
  WicImageDecoder platform;
  PortableImageDecoder portable;
  const struct {
    uint32_t width, height;
    bool withData, decodes;
  } cases[] = {
      {64, 32, true, true},           // a plain picture decodes through both
      {8193, 8193, true, false},      // each side allowed, 67 million pixels in all are not
      {32768, 32768, false, false},   // 4 GB at 32 bits: a 32-bit size would wrap to 0
      {32769, 1, false, false},       // one side too long
      {0xFFFFFFFF, 2, false, false},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> file = BlackPng(c.width, c.height, c.withData);
    for (const ImageDecoder* decoder : {static_cast<const ImageDecoder*>(&platform), static_cast<const ImageDecoder*>(&portable)}) {
      std::optional<Bitmap> picture = decoder->Decode(ImageFileKind::ifPng, file);
      EXPECT_EQ(picture.has_value(), c.decodes) << c.width << " x " << c.height;
      if (picture) {
        EXPECT_EQ(picture->Width(), static_cast<int>(c.width));
      }
    }
  }
}

TEST(PaintPngDecode, APictureThePixelCoreRefusesIsDecodedByThePlatform) {
  // PNG files are decoded by the pixel core's codec, which reads no interlaced files; the
  // program's decoder hands those to the imaging component. Two by two pixels in 8-bit RGB,
  // interlaced: the passes of the rows hold the pixels (0,0), then (1,0), then (0,1) and (1,1).
  ComInitialization com;
  const std::vector<uint8_t> raw = {0, 255, 0, 0,                // pass 1: red
                                    0, 0, 255, 0,                // pass 6: green
                                    0, 0, 0, 255, 255, 255, 255};  // pass 7: blue, white
  const std::vector<uint8_t> file = PngFile(2, 2, {8, 2, 0, 0, 1}, raw);
  EXPECT_FALSE(DecodePng(file));
  std::optional<Bitmap> picture = WicImageDecoder().Decode(ImageFileKind::ifPng, file);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->Format(), PixelFormat::pf24bit);
  EXPECT_EQ(picture->GetPixel(0, 0) & 0xFFFFFF, 0x0000FFu);  // 0x00BBGGRR
  EXPECT_EQ(picture->GetPixel(1, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(picture->GetPixel(0, 1) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(picture->GetPixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PaintPngDecode, TheLimitIsCheckedIn64Bits) {
  EXPECT_TRUE(DecodedSizeAllowed(32768, 2048));   // exactly the limit
  EXPECT_FALSE(DecodedSizeAllowed(32768, 2049));
  EXPECT_FALSE(DecodedSizeAllowed(32768, 32768));  // 2^30: wraps to 0 in 32-bit byte counts
  EXPECT_FALSE(DecodedSizeAllowed(0, 5));
  EXPECT_FALSE(DecodedSizeAllowed(0xFFFFFFFFull, 0xFFFFFFFFull));
}
