// The memory bitmap every skin painter works on: width, height, pixel format and rows reached
// through a stride (the signed distance in bytes from row 0 to row 1). A Bitmap either owns its
// pixels or views memory owned by someone else (the platform's DIB section wraps one this way).
// 24-bit pixels are blue, green, red; 32-bit pixels blue, green, red, alpha with straight alpha;
// 8-bit bitmaps hold one channel (text-glow masks). Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Color.h"
#include "framework/Geometry.h"

enum class PixelFormat { pf8bit, pf24bit, pf32bit };

class Bitmap {
 public:
  Bitmap() = default;
  // An owning bitmap, all bytes zero. Negative sizes count as 0.
  Bitmap(int width, int height, PixelFormat format);
  // A view of memory owned elsewhere (borrowed); `stride` may be negative (bottom-up rows).
  static Bitmap View(int width, int height, PixelFormat format, uint8_t* row0, ptrdiff_t stride);

  Bitmap(const Bitmap& other);             // a deep copy into owned memory
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BytesPerPixel() const { return format_ == PixelFormat::pf32bit ? 4 : (format_ == PixelFormat::pf24bit ? 3 : 1); }
  ptrdiff_t Stride() const { return stride_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  bool OwnsPixels() const { return !pixels_.empty() || Empty(); }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  uint8_t* Row(int y) { return row0_ + stride_ * y; }
  const uint8_t* Row(int y) const { return row0_ + stride_ * y; }
  uint8_t* PixelAt(int x, int y) { return Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(); }
  const uint8_t* PixelAt(int x, int y) const { return Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(); }

  // 0x00BBGGRR colour of a 24-bit pixel, 0xAABBGGRR of a 32-bit pixel, the byte of an 8-bit one.
  uint32_t GetPixel(int x, int y) const;
  // Stores 0xAABBGGRR (the alpha byte only in 32-bit bitmaps).
  void SetPixel(int x, int y, uint32_t value);

  // A copy in another format: 24 to 32 gives alpha 255, 32 to 24 drops alpha.
  Bitmap Converted(PixelFormat format) const;

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::pf24bit;
  ptrdiff_t stride_ = 0;
  uint8_t* row0_ = nullptr;      // row 0: into pixels_, or borrowed memory for a view
  std::vector<uint8_t> pixels_;  // owned pixels; empty for a view
};

bool operator==(const Bitmap& a, const Bitmap& b);  // same size, format and pixel bytes
