// Turning the bytes of a picture file (BMP, PNG or JPEG) into a Bitmap. The skin loader takes the
// decoder as a service: the program decodes through the platform's imaging component, the native
// tests and fuzzers through the portable decoders. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pixel/Bitmap.h"

enum class ImageFileKind { ifBmp, ifPng, ifJpeg };

// The largest picture any decoder accepts: 32768 pixels a side and 2^26 pixels in all (256 MB
// at 32 bits, far beyond any skin picture). Decoders check a file's size with this, in 64 bits,
// before they allocate anything.
constexpr uint64_t kMaxDecodedSide = 32768;
constexpr uint64_t kMaxDecodedPixels = uint64_t(1) << 26;
constexpr bool DecodedSizeAllowed(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide &&
         width * height <= kMaxDecodedPixels;
}

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // The picture, or nullopt when the bytes are not a picture of that kind or cannot be decoded.
  // A PNG with an alpha channel becomes a 32-bit bitmap with straight alpha, a PNG without one a
  // 24-bit bitmap; a BMP keeps 32 bits when the file has them, else 24; a JPEG is 24-bit.
  virtual std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const = 0;
};
