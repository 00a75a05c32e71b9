// Turning the bytes of a picture file (BMP, PNG or JPEG) into a Bitmap. The skin loader takes the
// decoder as a service: the program decodes through the platform's imaging component, the native
// tests and fuzzers through the portable decoders. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pixel/Bitmap.h"

enum class ImageFileKind { ifBmp, ifPng, ifJpeg };

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // The picture, or nullopt when the bytes are not a picture of that kind or cannot be decoded.
  // A PNG with an alpha channel becomes a 32-bit bitmap with straight alpha, a PNG without one a
  // 24-bit bitmap; a BMP keeps 32 bits when the file has them, else 24; a JPEG is 24-bit.
  virtual std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const = 0;
};
