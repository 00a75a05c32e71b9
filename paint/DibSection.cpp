// See DibSection.h.
#include "paint/DibSection.h"

DibSection DibSection::CreateBitmap24(int width, int height) { return Create(width, height, PixelFormat::pf24bit); }

DibSection DibSection::CreateBitmap32(int width, int height) { return Create(width, height, PixelFormat::pf32bit); }

DibSection DibSection::CreateBitmap8(int width, int height) { return Create(width, height, PixelFormat::pf8bit); }

DibSection DibSection::Create(int width, int height, PixelFormat format) {
  DibSection dib;
  if (width <= 0 || height <= 0) return dib;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[256];
  } info{};
  int bits = format == PixelFormat::pf32bit ? 32 : (format == PixelFormat::pf24bit ? 24 : 8);
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;  // positive: bottom-up rows
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  if (bits == 8) {
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i)
      info.palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
  }
  void* bitsPointer = nullptr;
  dib.handle_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bitsPointer, nullptr, 0));
  if (!dib.handle_ || !bitsPointer) {
    dib.handle_.reset();
    return dib;
  }
  ptrdiff_t stride = ((static_cast<ptrdiff_t>(width) * bits + 31) / 32) * 4;
  auto* lastRow = static_cast<uint8_t*>(bitsPointer) + stride * (height - 1);
  dib.view_ = Bitmap::View(width, height, format, lastRow, -stride);
  return dib;
}
