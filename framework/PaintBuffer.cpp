#include "framework/PaintBuffer.h"

#include "framework/Graphics.h"

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
    uint32_t* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDown32Section(width, height, &bits);
    if (!bitmap) return nullptr;
    original_ = SelectObject(dc.get(), bitmap.get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
  }
  SelectClipRgn(dc_.get(), nullptr);
  return dc_.get();
}

void PaintBuffer::CopyTo(HDC target, const RECT& area) const {
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left, area.top,
         SRCCOPY);
}
