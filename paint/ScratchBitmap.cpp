// See ScratchBitmap.h.
#include "paint/ScratchBitmap.h"

#include <cstring>

namespace {

// Memory of scratch bitmaps not in use. Per thread, so painters on different threads never share.
std::vector<std::unique_ptr<std::vector<uint8_t>>>& Pool() {
  thread_local std::vector<std::unique_ptr<std::vector<uint8_t>>> pool;
  return pool;
}

}  // namespace

ScratchBitmap::ScratchBitmap(int width, int height, PixelFormat format) {
  auto& pool = Pool();
  if (pool.empty()) {
    memory_ = std::make_unique<std::vector<uint8_t>>();
  } else {
    memory_ = std::move(pool.back());
    pool.pop_back();
  }
  width = width > 0 ? width : 0;
  height = height > 0 ? height : 0;
  size_t pixelBytes = format == PixelFormat::pf32bit ? 4 : (format == PixelFormat::pf24bit ? 3 : 1);
  ptrdiff_t stride = static_cast<ptrdiff_t>((static_cast<size_t>(width) * pixelBytes + 3) & ~size_t(3));
  size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
  if (memory_->size() < bytes) memory_->resize(bytes);
  std::memset(memory_->data(), 0, bytes);
  view_ = Bitmap::View(width, height, format, memory_->data(), stride);
}

ScratchBitmap::~ScratchBitmap() { Pool().push_back(std::move(memory_)); }
