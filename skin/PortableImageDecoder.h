// A picture decoder without the platform, for the native build (tests, fuzzers, benchmarks):
// BMP through the BMP codec and PNG through zlib (non-interlaced files of every colour type and
// bit depth). JPEG files are not decoded here; the program decodes them through the platform.
// Plain C++.
#pragma once

#include "pixel/ImageDecoder.h"

// The PNG file as a 32-bit bitmap with straight alpha when it has an alpha channel or a
// transparency chunk, otherwise 24-bit; nullopt for damaged, interlaced or implausibly large files.
std::optional<Bitmap> DecodePng(std::span<const uint8_t> bytes);

class PortableImageDecoder : public ImageDecoder {
 public:
  std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const override;
};
