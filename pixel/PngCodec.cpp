// See PngCodec.h.
#include "pixel/PngCodec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "pixel/ImageDecoder.h"

namespace {

uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

struct PngHeader {
  uint32_t width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  int Channels() const {
    switch (colorType) {
      case 0: case 3: return 1;
      case 2: return 3;
      case 4: return 2;
      case 6: return 4;
      default: return 0;
    }
  }
  bool Valid() const {
    switch (colorType) {
      case 0: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
      case 3: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
      case 2: case 4: case 6: return bitDepth == 8 || bitDepth == 16;
      default: return false;
    }
  }
};

int Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Undoes the per-row filters in place; `raw` holds height rows of (1 + rowBytes) bytes.
bool Unfilter(std::vector<uint8_t>& raw, size_t rowBytes, uint32_t height, size_t bytesPerPixel) {
  uint8_t* previous = nullptr;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = raw.data() + y * (rowBytes + 1);
    uint8_t filter = row[0];
    uint8_t* cur = row + 1;
    for (size_t i = 0; i < rowBytes; ++i) {
      int a = i >= bytesPerPixel ? cur[i - bytesPerPixel] : 0;
      int b = previous ? previous[i] : 0;
      int c = previous && i >= bytesPerPixel ? previous[i - bytesPerPixel] : 0;
      switch (filter) {
        case 0: break;
        case 1: cur[i] = static_cast<uint8_t>(cur[i] + a); break;
        case 2: cur[i] = static_cast<uint8_t>(cur[i] + b); break;
        case 3: cur[i] = static_cast<uint8_t>(cur[i] + (a + b) / 2); break;
        case 4: cur[i] = static_cast<uint8_t>(cur[i] + Paeth(a, b, c)); break;
        default: return false;
      }
    }
    previous = cur;
  }
  return true;
}

// Inflates the image data into exactly `expected` bytes. The buffer grows with the data that
// really arrives, so a tiny file that claims a huge picture costs nothing.
bool InflateExactly(const std::vector<uint8_t>& compressed, size_t expected, std::vector<uint8_t>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(compressed.data());
  z.avail_in = static_cast<uInt>(compressed.size());
  out.clear();
  int status = Z_OK;
  while (status == Z_OK && out.size() < expected) {
    size_t done = out.size();
    out.resize(std::min(expected, std::max<size_t>(done * 2, 65536)));
    z.next_out = out.data() + done;
    z.avail_out = static_cast<uInt>(out.size() - done);
    status = inflate(&z, Z_NO_FLUSH);
    out.resize(out.size() - z.avail_out);
  }
  inflateEnd(&z);
  return out.size() == expected && (status == Z_OK || status == Z_STREAM_END);
}

}  // namespace

std::optional<Bitmap> DecodePng(std::span<const uint8_t> bytes) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(signature, signature + 8, bytes.begin())) return std::nullopt;

  PngHeader header;
  std::vector<uint8_t> compressed;
  std::array<uint32_t, 256> palette{};  // 0xAABBGGRR
  for (auto& p : palette) p = 0xFF000000u;
  size_t paletteSize = 0;
  bool hasTransparency = false;
  int transparentGrey = -1;
  std::array<int, 3> transparentRgb{-1, -1, -1};
  bool seenHeader = false, seenEnd = false;

  size_t pos = 8;
  while (!seenEnd) {
    if (bytes.size() - pos < 12) return std::nullopt;
    uint32_t length = Be32(&bytes[pos]);
    if (length > bytes.size() - pos - 12) return std::nullopt;
    const uint8_t* type = &bytes[pos + 4];
    const uint8_t* data = &bytes[pos + 8];
    auto is = [&](const char* name) { return std::equal(name, name + 4, type); };
    if (!seenHeader && !is("IHDR")) return std::nullopt;
    if (is("IHDR")) {
      if (length != 13 || seenHeader) return std::nullopt;
      header.width = Be32(data);
      header.height = Be32(data + 4);
      header.bitDepth = data[8];
      header.colorType = data[9];
      if (data[10] != 0 || data[11] != 0 || data[12] != 0) return std::nullopt;  // interlaced or unknown methods
      if (!header.Valid() || !DecodedSizeAllowed(header.width, header.height)) return std::nullopt;
      seenHeader = true;
    } else if (is("PLTE")) {
      if (length % 3 != 0 || length / 3 > 256) return std::nullopt;
      paletteSize = length / 3;
      for (size_t i = 0; i < paletteSize; ++i)
        palette[i] = 0xFF000000u | data[i * 3] | (static_cast<uint32_t>(data[i * 3 + 1]) << 8) |
                     (static_cast<uint32_t>(data[i * 3 + 2]) << 16);
    } else if (is("tRNS")) {
      hasTransparency = true;
      if (header.colorType == 3) {
        for (size_t i = 0; i < length && i < 256; ++i) palette[i] = (palette[i] & 0xFFFFFFu) | (uint32_t(data[i]) << 24);
      } else if (header.colorType == 0 && length >= 2) {
        transparentGrey = static_cast<int>((data[0] << 8) | data[1]);
      } else if (header.colorType == 2 && length >= 6) {
        for (int c = 0; c < 3; ++c) transparentRgb[c] = static_cast<int>((data[c * 2] << 8) | data[c * 2 + 1]);
      }
    } else if (is("IDAT")) {
      compressed.insert(compressed.end(), data, data + length);
    } else if (is("IEND")) {
      seenEnd = true;
    }
    pos += 12 + length;
  }
  if (header.colorType == 3 && paletteSize == 0) return std::nullopt;

  const size_t bitsPerPixel = static_cast<size_t>(header.Channels()) * header.bitDepth;
  const size_t rowBytes = (header.width * bitsPerPixel + 7) / 8;
  const size_t bytesPerPixel = (bitsPerPixel + 7) / 8;
  std::vector<uint8_t> raw;
  if (!InflateExactly(compressed, (rowBytes + 1) * header.height, raw)) return std::nullopt;
  if (!Unfilter(raw, rowBytes, header.height, bytesPerPixel)) return std::nullopt;

  const bool withAlpha = header.colorType == 4 || header.colorType == 6 || hasTransparency;
  const int w = static_cast<int>(header.width), h = static_cast<int>(header.height);
  Bitmap out(w, h, withAlpha ? PixelFormat::pf32bit : PixelFormat::pf24bit);
  const bool wide = header.bitDepth == 16;
  const int maxSample = (1 << header.bitDepth) - 1;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = raw.data() + static_cast<size_t>(y) * (rowBytes + 1) + 1;
    // The sample (0..maxSample) of channel c of pixel x.
    auto sample = [&](int x, int c) -> int {
      size_t index = static_cast<size_t>(x) * header.Channels() + c;
      if (wide) return (row[index * 2] << 8) | row[index * 2 + 1];
      if (header.bitDepth == 8) return row[index];
      size_t bit = index * header.bitDepth;
      return (row[bit / 8] >> (8 - header.bitDepth - bit % 8)) & maxSample;
    };
    auto to8 = [&](int v) { return static_cast<uint8_t>(wide ? v >> 8 : v * 255 / maxSample); };
    for (int x = 0; x < w; ++x) {
      uint8_t r, g, b, a = 255;
      switch (header.colorType) {
        case 3: {
          uint32_t c = palette[static_cast<size_t>(sample(x, 0))];
          r = static_cast<uint8_t>(c), g = static_cast<uint8_t>(c >> 8), b = static_cast<uint8_t>(c >> 16);
          a = static_cast<uint8_t>(c >> 24);
          break;
        }
        case 0: case 4: {
          int v = sample(x, 0);
          r = g = b = to8(v);
          if (header.colorType == 4) a = to8(sample(x, 1));
          else if (v == transparentGrey) a = 0;
          break;
        }
        default: {
          int sr = sample(x, 0), sg = sample(x, 1), sb = sample(x, 2);
          r = to8(sr), g = to8(sg), b = to8(sb);
          if (header.colorType == 6) a = to8(sample(x, 3));
          else if (sr == transparentRgb[0] && sg == transparentRgb[1] && sb == transparentRgb[2]) a = 0;
          break;
        }
      }
      uint8_t* p = out.PixelAt(x, y);
      p[0] = b, p[1] = g, p[2] = r;
      if (withAlpha) p[3] = a;
    }
  }
  return out;
}
