// Picture decoding through the platform's imaging component: PNG (straight 32-bit BGRA when the
// file has alpha) and JPEG. BMP and PNG files go through the pixel core's codecs first, so that
// they decode exactly as in the native build, with the imaging component as fallback for rarer
// variants (interlaced PNG files, compressed BMP files).
#pragma once

#include <windows.h>
#include <wincodec.h>

#include "framework/Handles.h"
#include "pixel/ImageDecoder.h"

class WicImageDecoder : public ImageDecoder {
 public:
  std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const override;

 private:
  IWICImagingFactory* Factory() const;
  mutable ComPtr<IWICImagingFactory> factory_;
};
