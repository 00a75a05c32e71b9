#include "framework/PaintBuffer.h"

PaintBuffer::~PaintBuffer() { Release(); }

void PaintBuffer::Release() {
  if (dc_ && original_) SelectObject(dc_.get(), original_);
  original_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  width_ = height_ = 0;
}

HDC PaintBuffer::Prepare(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (width > width_ || height > height_) {
    Release();
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    original_ = SelectObject(dc.get(), bitmap.get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
  }
  SelectClipRgn(dc_.get(), nullptr);
  return dc_.get();
}
