// Picture decoding through the platform's imaging component: PNG (straight 32-bit BGRA when the
// file has alpha) and JPEG; BMP files go through the portable BMP codec so that they decode
// exactly as in the native build, with the imaging component as fallback for rarer variants.
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
