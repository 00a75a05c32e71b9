// A picture decoder without the platform, for the native build (tests, fuzzers, benchmarks):
// BMP and PNG through the pixel core's codecs. JPEG files are not decoded here; the program
// decodes them through the platform.
// Plain C++.
#pragma once

#include "pixel/ImageDecoder.h"

class PortableImageDecoder : public ImageDecoder {
 public:
  std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const override;
};
