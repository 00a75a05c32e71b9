// See PortableImageDecoder.h.
#include "skin/PortableImageDecoder.h"

#include "pixel/BmpCodec.h"
#include "pixel/PngCodec.h"

std::optional<Bitmap> PortableImageDecoder::Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const {
  switch (kind) {
    case ImageFileKind::ifBmp: return DecodeBmp(bytes);
    case ImageFileKind::ifPng: return DecodePng(bytes);
    case ImageFileKind::ifJpeg: return std::nullopt;
  }
  return std::nullopt;
}
