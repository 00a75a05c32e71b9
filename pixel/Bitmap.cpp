// See Bitmap.h.
#include "pixel/Bitmap.h"

#include <cstring>
#include <utility>

namespace {
int BytesPer(PixelFormat f) { return f == PixelFormat::pf32bit ? 4 : (f == PixelFormat::pf24bit ? 3 : 1); }
}  // namespace

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0), format_(format) {
  // Rows are padded to four bytes, as the platform's device-independent bitmaps are.
  stride_ = static_cast<ptrdiff_t>((static_cast<size_t>(width_) * static_cast<size_t>(BytesPer(format)) + 3) & ~size_t(3));
  pixels_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_), 0);
  row0_ = pixels_.empty() ? nullptr : pixels_.data();
}

Bitmap Bitmap::View(int width, int height, PixelFormat format, uint8_t* row0, ptrdiff_t stride) {
  Bitmap b;
  b.width_ = width > 0 ? width : 0;
  b.height_ = height > 0 ? height : 0;
  b.format_ = format;
  b.stride_ = stride;
  b.row0_ = row0;
  return b;
}

Bitmap::Bitmap(const Bitmap& other) : Bitmap(other.width_, other.height_, other.format_) {
  size_t rowBytes = static_cast<size_t>(width_) * static_cast<size_t>(BytesPerPixel());
  for (int y = 0; y < height_; ++y) std::memcpy(Row(y), other.Row(y), rowBytes);
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) *this = Bitmap(other);
  return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      format_(other.format_),
      stride_(std::exchange(other.stride_, 0)),
      row0_(std::exchange(other.row0_, nullptr)),
      pixels_(std::move(other.pixels_)) {
  other.pixels_.clear();
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = other.format_;
    stride_ = std::exchange(other.stride_, 0);
    row0_ = std::exchange(other.row0_, nullptr);
    pixels_ = std::move(other.pixels_);
    other.pixels_.clear();
  }
  return *this;
}

uint32_t Bitmap::GetPixel(int x, int y) const {
  const uint8_t* p = PixelAt(x, y);
  switch (format_) {
    case PixelFormat::pf8bit: return p[0];
    case PixelFormat::pf24bit: return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[0]) << 16);
    case PixelFormat::pf32bit:
      return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[0]) << 16) |
             (static_cast<uint32_t>(p[3]) << 24);
  }
  return 0;
}

void Bitmap::SetPixel(int x, int y, uint32_t value) {
  uint8_t* p = PixelAt(x, y);
  switch (format_) {
    case PixelFormat::pf8bit: p[0] = static_cast<uint8_t>(value); break;
    case PixelFormat::pf32bit: p[3] = static_cast<uint8_t>(value >> 24); [[fallthrough]];
    case PixelFormat::pf24bit:
      p[0] = static_cast<uint8_t>(value >> 16);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value);
      break;
  }
}

Bitmap Bitmap::Converted(PixelFormat format) const {
  Bitmap out(width_, height_, format);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* s = Row(y);
    uint8_t* d = out.Row(y);
    for (int x = 0; x < width_; ++x) {
      uint8_t b, g, r, a = 255;
      if (format_ == PixelFormat::pf8bit) {
        b = g = r = s[x];
      } else {
        const uint8_t* p = s + x * BytesPerPixel();
        b = p[0];
        g = p[1];
        r = p[2];
        if (format_ == PixelFormat::pf32bit) a = p[3];
      }
      switch (format) {
        case PixelFormat::pf8bit: d[x] = static_cast<uint8_t>((b + g + r) / 3); break;
        case PixelFormat::pf24bit: d[x * 3] = b; d[x * 3 + 1] = g; d[x * 3 + 2] = r; break;
        case PixelFormat::pf32bit: d[x * 4] = b; d[x * 4 + 1] = g; d[x * 4 + 2] = r; d[x * 4 + 3] = a; break;
      }
    }
  }
  return out;
}

bool operator==(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Format() != b.Format()) return false;
  size_t rowBytes = static_cast<size_t>(a.Width()) * static_cast<size_t>(a.BytesPerPixel());
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), rowBytes) != 0) return false;
  return true;
}
