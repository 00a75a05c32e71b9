// See BitmapBlend.h.
#include "pixel/BitmapBlend.h"

#include <algorithm>
#include <cstring>

#include "pixel/ColorMath.h"
#include "pixel/PixelAccess.h"

namespace {

bool IsPaintFormat(const Bitmap& b) { return b.Format() == PixelFormat::pf24bit || b.Format() == PixelFormat::pf32bit; }

bool CanAttachPaint(const Bitmap& b) {
  return CanAttach(&b, PixelFormat::pf24bit) || CanAttach(&b, PixelFormat::pf32bit);
}

// Calls visit(pixel) for every pixel of the clipped rectangle.
template <class Visit>
void ForEachPixel(Bitmap& bitmap, const Rect& rect, Visit visit) {
  Rect r = rect.Intersect(bitmap.Bounds());
  if (r.Empty()) return;
  int step = bitmap.BytesPerPixel();
  for (int y = r.top; y < r.bottom; ++y) {
    uint8_t* p = bitmap.PixelAt(r.left, y);
    for (int x = r.left; x < r.right; ++x, p += step) visit(p);
  }
}

// One row of the weighted blend. The sum stays below 65536, so 16-bit lanes suffice and the
// compiler can vectorise the loop.
void BlendRow(uint8_t* d, const uint8_t* s, size_t bytes, uint16_t weight) {
  uint16_t inverse = static_cast<uint16_t>(255 - weight);
  for (size_t i = 0; i < bytes; ++i)
    d[i] = static_cast<uint8_t>(static_cast<uint16_t>(d[i] * weight + s[i] * inverse + 127) >> 8);
}

}  // namespace

void FillRectColor(Bitmap& bitmap, const Rect& rect, TColor c) {
  if (bitmap.Format() == PixelFormat::pf32bit && !CanAttach(&bitmap, PixelFormat::pf32bit)) return;
  if (!IsPaintFormat(bitmap)) return;
  Rect r = rect.Intersect(bitmap.Bounds());
  if (r.Empty()) return;
  Bgra pixel = ToPixel32(c);
  PixelFormat format = bitmap.Format();
  int step = bitmap.BytesPerPixel();
  // Fill the first row pixel by pixel, then copy it to the others.
  uint8_t* first = bitmap.PixelAt(r.left, r.top);
  for (int x = 0; x < r.Width(); ++x) WritePixel(first + x * step, format, pixel);
  size_t bytes = static_cast<size_t>(r.Width()) * static_cast<size_t>(step);
  for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(bitmap.PixelAt(r.left, y), first, bytes);
}

void SetRectAlpha(Bitmap& bitmap, const Rect& rect, uint8_t alpha) {
  if (!CanAttach(&bitmap, PixelFormat::pf32bit)) return;
  ForEachPixel(bitmap, rect, [alpha](uint8_t* p) { p[3] = alpha; });
}

void FadeToColor(Bitmap& bitmap, const Rect& rect, int percent, TColor c) {
  if (!CanAttachPaint(bitmap)) return;
  c = PlainColor(c);
  // round((percent * old + (100 - percent) * k) / 100) for every possible old byte.
  uint8_t table[3][256];
  const uint8_t channel[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  for (int i = 0; i < 3; ++i)
    for (int v = 0; v < 256; ++v)
      table[i][v] = ClampByte(static_cast<int>(DivideRounded(int64_t{percent} * v + int64_t{100 - percent} * channel[i], 100)));
  ForEachPixel(bitmap, rect, [&table](uint8_t* p) {
    p[0] = table[0][p[0]];
    p[1] = table[1][p[1]];
    p[2] = table[2][p[2]];
  });
}

void BlendWithWeight(Bitmap& destination, const Bitmap& source, uint8_t weight, Point point, Rect s) {
  int a = point.x;
  int b = point.y;
  // A destination start before 0 cuts the source; then a source start before 0 moves the
  // destination start (and what is left of a negative one moves the source again).
  auto cut = [](int& target, int& sourceStart) {
    if (target < 0) {
      sourceStart -= target;
      target = 0;
    }
    if (sourceStart < 0) {
      target -= sourceStart;
      sourceStart = 0;
      if (target < 0) {
        sourceStart = -target;
        target = 0;
      }
    }
  };
  cut(a, s.left);
  cut(b, s.top);
  if (s.Empty() || a >= destination.Width() || b >= destination.Height() || s.left >= source.Width() ||
      s.top >= source.Height())
    return;
  s.right = std::min(s.right, source.Width());
  s.bottom = std::min(s.bottom, source.Height());
  if (a + s.Width() > destination.Width()) s.right = destination.Width() + s.left - a;
  if (b + s.Height() > destination.Height()) s.bottom = destination.Height() + s.top - b;
  PixelFormat format = destination.Format();
  if (source.Format() != format || !CanAttachPaint(destination) || !CanAttach(&source, format)) return;
  size_t bytes = static_cast<size_t>(s.Width()) * static_cast<size_t>(destination.BytesPerPixel());
  for (int y = 0; y < s.Height(); ++y)
    BlendRow(destination.PixelAt(a, b + y), source.PixelAt(s.left, s.top + y), bytes, weight);
}

void BlendBitmaps(Bitmap& destination, const Bitmap& source, uint8_t weight) {
  if (destination.Width() != source.Width() || destination.Height() != source.Height()) return;
  if (source.Format() != destination.Format() || !CanAttachPaint(destination)) return;
  size_t bytes = static_cast<size_t>(destination.Width()) * static_cast<size_t>(destination.BytesPerPixel());
  for (int y = 0; y < destination.Height(); ++y) BlendRow(destination.Row(y), source.Row(y), bytes, weight);
}

void FadeBitmapToColor(Bitmap& bitmap, TColor c, uint32_t key, double factor) {
  if (!CanAttachPaint(bitmap)) return;
  c = PlainColor(c);
  const int channel[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  PixelFormat format = bitmap.Format();
  ForEachPixel(bitmap, bitmap.Bounds(), [&](uint8_t* p) {
    uint32_t value = p[2] | (p[1] << 8) | (p[0] << 16);
    if (format == PixelFormat::pf32bit) value |= static_cast<uint32_t>(p[3]) << 24;
    if (value == key) return;
    for (int i = 0; i < 3; ++i) p[i] = ClampByte(RoundToNearestEven(factor * (p[i] - channel[i]) + channel[i]));
  });
}

void BlendWithColorMask(Bitmap& bitmap, const Bitmap& mask, TColor c) {
  if (!CanAttach(&bitmap, PixelFormat::pf24bit) || !CanAttach(&mask, PixelFormat::pf24bit)) return;
  if (bitmap.Width() != mask.Width() || bitmap.Height() != mask.Height()) return;
  c = PlainColor(c);
  const int channel[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    const uint8_t* m = mask.Row(y);
    for (int i = 0; i < bitmap.Width() * 3; ++i) {
      int k = channel[i % 3];
      p[i] = ClampByte(((p[i] - k) * m[i] + k * 256) >> 8);
    }
  }
}

void Grayscale(Bitmap& bitmap) {
  if (!CanAttachPaint(bitmap)) return;
  ForEachPixel(bitmap, bitmap.Bounds(), [](uint8_t* p) { p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3); });
}

void GrayscaleExceptKey(Bitmap& bitmap, TColor key) {
  if (!CanAttach(&bitmap, PixelFormat::pf24bit)) return;
  key = PlainColor(key);
  ForEachPixel(bitmap, bitmap.Bounds(), [key](uint8_t* p) {
    if (!IsKeyPixel(p, PixelFormat::pf24bit, key)) p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
  });
}

void ClearTransparentWhite(Bitmap& bitmap) {
  if (!CanAttach(&bitmap, PixelFormat::pf32bit)) return;
  ForEachPixel(bitmap, bitmap.Bounds(), [](uint8_t* p) {
    if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0) p[0] = p[1] = p[2] = 0;
  });
}
