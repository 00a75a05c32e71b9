// See BmpCodec.h.
#include "pixel/BmpCodec.h"

#include <array>
#include <bit>

#include "pixel/ImageDecoder.h"

namespace {

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// One colour channel described by a bit-field mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (mask) {
      shift = std::countr_zero(mask);
      bits = std::popcount(mask >> shift);
      if (bits > 8) {  // keep the top 8 bits of a wide channel
        shift += bits - 8;
        bits = 8;
      }
    }
  }
  uint8_t Extract(uint32_t pixel) const {
    if (!mask || bits == 0) return 0;
    uint32_t v = (pixel >> shift) & ((1u << bits) - 1);
    return static_cast<uint8_t>(v * 255 / ((1u << bits) - 1));
  }
};

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint8_t* d = bytes.data();
  const size_t size = bytes.size();
  const uint32_t dataOffset = Le32(d + 10);
  const uint32_t headerSize = Le32(d + 14);
  if (headerSize < 12 || headerSize > size - 14) return std::nullopt;

  int64_t width, height;
  uint32_t bitCount, compression = 0, colorsUsed = 0;
  if (headerSize == 12) {  // the old core header
    width = Le16(d + 18);
    height = static_cast<int16_t>(Le16(d + 20));
    bitCount = Le16(d + 24);
  } else {
    if (headerSize < 40) return std::nullopt;
    width = static_cast<int32_t>(Le32(d + 18));
    height = static_cast<int32_t>(Le32(d + 22));
    bitCount = Le16(d + 28);
    compression = Le32(d + 30);
    colorsUsed = Le32(d + 46);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || !DecodedSizeAllowed(static_cast<uint64_t>(width), static_cast<uint64_t>(height)))
    return std::nullopt;

  // Bit-field masks: in the header (V2 and later) or right after a 40-byte header.
  Channel red, green, blue, alpha;
  bool hasAlphaMask = false;
  if (bitCount == 16) {
    red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
  } else if (bitCount == 32) {
    red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF), alpha = Channel(0xFF000000);
    hasAlphaMask = true;
  }
  if (compression == 3 || compression == 6) {
    if (bitCount != 16 && bitCount != 32) return std::nullopt;
    size_t maskAt = 14 + 40;
    size_t maskCount = compression == 6 ? 4 : 3;
    if (maskAt + 4 * maskCount > size) return std::nullopt;
    red = Channel(Le32(d + maskAt)), green = Channel(Le32(d + maskAt + 4)), blue = Channel(Le32(d + maskAt + 8));
    uint32_t alphaMask = 0;
    if (maskCount == 4 || headerSize >= 56) alphaMask = Le32(d + maskAt + 12);
    alpha = Channel(alphaMask);
    hasAlphaMask = alphaMask != 0;
  } else if (compression != 0) {
    return std::nullopt;  // run-length and embedded JPEG/PNG data are not skin material
  }

  std::array<uint32_t, 256> palette{};
  if (bitCount <= 8) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return std::nullopt;
    size_t entries = colorsUsed ? colorsUsed : (size_t(1) << bitCount);
    if (entries > 256) return std::nullopt;
    size_t entrySize = headerSize == 12 ? 3 : 4;
    size_t paletteAt = 14 + headerSize;
    if (paletteAt + entries * entrySize > size) return std::nullopt;
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = d + paletteAt + i * entrySize;
      palette[i] = static_cast<uint32_t>(e[2]) | (static_cast<uint32_t>(e[1]) << 8) | (static_cast<uint32_t>(e[0]) << 16);
    }
  } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return std::nullopt;
  }

  const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  if (dataOffset > size || stride * static_cast<size_t>(height) > size - dataOffset) return std::nullopt;

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  Bitmap out(w, h, bitCount == 32 ? PixelFormat::pf32bit : PixelFormat::pf24bit);
  bool anyAlpha = false;
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = d + dataOffset + stride * static_cast<size_t>(topDown ? y : h - 1 - y);
    uint8_t* dst = out.Row(y);
    for (int x = 0; x < w; ++x) {
      uint8_t r, g, b, a = 255;
      if (bitCount <= 8) {
        int bitPos = x * static_cast<int>(bitCount);
        uint32_t index = (src[bitPos / 8] >> (8 - bitCount - bitPos % 8)) & ((1u << bitCount) - 1);
        uint32_t c = palette[index];
        r = static_cast<uint8_t>(c), g = static_cast<uint8_t>(c >> 8), b = static_cast<uint8_t>(c >> 16);
      } else if (bitCount == 24) {
        b = src[x * 3], g = src[x * 3 + 1], r = src[x * 3 + 2];
      } else {
        uint32_t pixel = bitCount == 16 ? Le16(src + x * 2) : Le32(src + x * 4);
        r = red.Extract(pixel), g = green.Extract(pixel), b = blue.Extract(pixel);
        if (hasAlphaMask) {
          a = alpha.Extract(pixel);
          anyAlpha |= a != 0;
        }
      }
      if (bitCount == 32) {
        dst[x * 4] = b, dst[x * 4 + 1] = g, dst[x * 4 + 2] = r, dst[x * 4 + 3] = a;
      } else {
        dst[x * 3] = b, dst[x * 3 + 1] = g, dst[x * 3 + 2] = r;
      }
    }
  }
  // Most 32-bit files leave the fourth byte 0; they are opaque pictures, not invisible ones.
  if (bitCount == 32 && !anyAlpha)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) out.Row(y)[x * 4 + 3] = 255;
  return out;
}

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const bool wide = bitmap.Format() == PixelFormat::pf32bit;
  const int bytesPerPixel = wide ? 4 : 3;
  const int w = bitmap.Width(), h = bitmap.Height();
  const uint32_t stride = (static_cast<uint32_t>(w) * bytesPerPixel + 3) & ~3u;
  std::vector<uint8_t> file{'B', 'M'};
  Put32(file, 14 + 40 + stride * static_cast<uint32_t>(h));
  Put32(file, 0);
  Put32(file, 14 + 40);
  Put32(file, 40);
  Put32(file, static_cast<uint32_t>(w));
  Put32(file, static_cast<uint32_t>(h));
  Put16(file, 1);
  Put16(file, static_cast<uint32_t>(bytesPerPixel * 8));
  Put32(file, 0);
  Put32(file, stride * static_cast<uint32_t>(h));
  Put32(file, 2835);
  Put32(file, 2835);
  Put32(file, 0);
  Put32(file, 0);
  for (int y = h - 1; y >= 0; --y) {
    size_t rowStart = file.size();
    for (int x = 0; x < w; ++x) {
      uint32_t c = bitmap.GetPixel(x, y);  // 0xAABBGGRR, or the grey byte of an 8-bit bitmap
      if (bitmap.Format() == PixelFormat::pf8bit) c = c | (c << 8) | (c << 16) | 0xFF000000u;
      file.push_back(static_cast<uint8_t>(c >> 16));
      file.push_back(static_cast<uint8_t>(c >> 8));
      file.push_back(static_cast<uint8_t>(c));
      if (wide) file.push_back(static_cast<uint8_t>(c >> 24));
    }
    file.resize(rowStart + stride, 0);
  }
  return file;
}
