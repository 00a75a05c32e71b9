// The portable picture decoders behind skin loading: BMP files of the usual depths and
// orientations, PNG files with and without alpha, and damaged or implausible files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/core/SkinTestSupport.h"

namespace {

std::vector<uint8_t> SkinFile(const char* name) {
  std::ifstream file(std::string(BRENVALE_SOURCE_DIR) + "/skins/PearlMist/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

TEST(SkinDecoder, BmpFilesRoundTripIn24And32Bits) {
  Bitmap picture(3, 2, PixelFormat::pf24bit);
  const uint32_t colors[6] = {0xFF00FF, 0x000000, 0x123456, 0xFFFFFF, 0x0000FF, 0x00FF00};
  for (int i = 0; i < 6; ++i) picture.SetPixel(i % 3, i / 3, colors[i]);
  std::optional<Bitmap> decoded = DecodeBmp(EncodeBmp(picture));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, picture);

  Bitmap alpha = skintest::Filled(2, 2, PixelFormat::pf32bit, 0x80102030);
  EXPECT_EQ(*DecodeBmp(EncodeBmp(alpha)), alpha);
  // A 32-bit file whose fourth bytes are all 0 is an opaque picture.
  std::optional<Bitmap> opaque = DecodeBmp(EncodeBmp(skintest::Filled(2, 2, PixelFormat::pf32bit, 0x00102030)));
  EXPECT_EQ(opaque->GetPixel(1, 1), 0xFF102030u);
}

TEST(SkinDecoder, BmpTopDownAndPaletteFiles) {
  std::vector<uint8_t> file = EncodeBmp(skintest::Filled(2, 2, PixelFormat::pf24bit, 0x0000FF));
  file[14 + 4 + 4 + 3] = 0xFF, file[14 + 4 + 4 + 2] = 0xFF, file[14 + 4 + 4 + 1] = 0xFF, file[14 + 4 + 4] = 0xFE;  // height -2
  file[54] = 0x00, file[55] = 0xFF, file[56] = 0x00;  // first stored row is the top one now: green
  std::optional<Bitmap> topDown = DecodeBmp(file);
  ASSERT_TRUE(topDown);
  EXPECT_EQ(topDown->GetPixel(0, 0), 0x00FF00u);

  // 8 bits per pixel, 2 palette entries, 3 x 1 pixels.
  std::vector<uint8_t> palette{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0};
  std::vector<uint8_t> info(40, 0);
  Put32(info, 0, 40), Put32(info, 4, 3), Put32(info, 8, 1), info[12] = 1, info[14] = 8, Put32(info, 32, 2);
  palette.insert(palette.end(), info.begin(), info.end());
  palette.insert(palette.end(), {0xFF, 0x00, 0x00, 0, 0x00, 0x00, 0xFF, 0});  // blue, red
  palette.insert(palette.end(), {1, 0, 1, 0});
  std::optional<Bitmap> indexed = DecodeBmp(palette);
  ASSERT_TRUE(indexed);
  EXPECT_EQ(indexed->GetPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(indexed->GetPixel(1, 0), 0xFF0000u);
}

TEST(SkinDecoder, DamagedOrImplausibleFilesDecodeToNothing) {
  std::vector<uint8_t> good = EncodeBmp(skintest::Filled(4, 4, PixelFormat::pf24bit, 0));
  std::vector<uint8_t> cut(good.begin(), good.end() - 5);
  std::vector<uint8_t> huge = good;
  Put32(huge, 18, 30000), Put32(huge, 22, 30000);
  std::vector<uint8_t> negative = good;
  Put32(negative, 18, 0xFFFFFFF0);
  std::vector<uint8_t> compressed = good;
  Put32(compressed, 30, 1);
  std::vector<uint8_t> badOffset = good;
  Put32(badOffset, 10, 0x7FFFFFFF);
  for (const auto& bytes : {cut, huge, negative, compressed, badOffset, skintest::Bytes("BM"), skintest::Bytes("")})
    EXPECT_FALSE(DecodeBmp(bytes));

  std::vector<uint8_t> png = SkinFile("GlowBtn.png");
  std::vector<uint8_t> pngCut(png.begin(), png.begin() + static_cast<ptrdiff_t>(png.size() / 2));
  std::vector<uint8_t> pngHuge = png;
  pngHuge[16] = 0x7F;  // width 2 billion
  for (const auto& bytes : {pngCut, pngHuge, skintest::Bytes("\x89PNG\r\n\x1a\n")}) EXPECT_FALSE(DecodePng(bytes));
}

TEST(SkinDecoder, PngPicturesKeepTheirAlpha) {
  Bitmap picture = skintest::Filled(3, 2, PixelFormat::pf32bit, 0x40302010);
  picture.SetPixel(2, 1, 0xFF0000FF);
  std::optional<Bitmap> decoded = DecodePng(skintest::Png(picture));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, picture);

  std::optional<Bitmap> glow = DecodePng(SkinFile("GlowBtn.png"));
  ASSERT_TRUE(glow);
  EXPECT_EQ(glow->Format(), PixelFormat::pf32bit);
  EXPECT_EQ(glow->Width(), 40);
  EXPECT_EQ(glow->GetPixel(20, 20) >> 24, 0u);  // the middle stays clear
}
