// Direct pixel access for the painters: the TvlFast24 and TvlFast32 accessors (which refuse
// bitmaps under 2 x 2, so the primitives built on them do nothing there), plain owning bitmaps
// for the platform-free build, one pixel in its stored byte order, the key-colour tests and
// the clipping of a piece copy to both bitmaps. Plain C++.
#pragma once

#include <cstdint>

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// One pixel as stored: blue, green, red, alpha.
struct Bgra {
  uint8_t b = 0;
  uint8_t g = 0;
  uint8_t r = 0;
  uint8_t a = 0;
  bool operator==(const Bgra&) const = default;
};

// The 32-bit pixel of a colour (system colours turned into RGB), alpha 255.
Bgra ToPixel32(TColor c);

// Reads any format: a 24-bit pixel has alpha 255, an 8-bit one is grey with alpha 255.
inline Bgra ReadPixel(const uint8_t* p, PixelFormat format) {
  switch (format) {
    case PixelFormat::pf8bit: return {p[0], p[0], p[0], 255};
    case PixelFormat::pf24bit: return {p[0], p[1], p[2], 255};
    case PixelFormat::pf32bit: return {p[0], p[1], p[2], p[3]};
  }
  return {};
}

// Writes any format: a 24-bit pixel keeps the colour only, an 8-bit one the grey average.
inline void WritePixel(uint8_t* p, PixelFormat format, Bgra c) {
  switch (format) {
    case PixelFormat::pf8bit: p[0] = static_cast<uint8_t>((c.b + c.g + c.r) / 3); break;
    case PixelFormat::pf32bit: p[3] = c.a; [[fallthrough]];
    case PixelFormat::pf24bit:
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
      break;
  }
}

// The key-colour test of skin pictures: a 24-bit pixel matches when its colour bytes equal the
// key; a 32-bit pixel only when it also has alpha 0 (the whole value 0x00BBGGRR).
inline bool IsKeyPixel(const uint8_t* p, PixelFormat format, TColor key) {
  if (format == PixelFormat::pf8bit) return false;
  bool colour = p[0] == BlueOf(key) && p[1] == GreenOf(key) && p[2] == RedOf(key);
  return colour && (format == PixelFormat::pf24bit || p[3] == 0);
}

// The key test on the colour bytes alone, whatever the alpha.
inline bool HasKeyColour(const uint8_t* p, PixelFormat format, TColor key) {
  return format != PixelFormat::pf8bit && p[0] == BlueOf(key) && p[1] == GreenOf(key) && p[2] == RedOf(key);
}

// One pixel through its mask: D = ((D - S) * M + S * 256) >> 8 per colour byte, the mask value
// first raised by `raise` (at most 255); a 32-bit target pixel becomes opaque.
inline void MaskPixel(uint8_t* t, PixelFormat targetFormat, const uint8_t* s, const uint8_t* m, int raise = 0) {
  for (int c = 0; c < 3; ++c) {
    int mask = m[c] + raise > 255 ? 255 : m[c] + raise;
    int v = ((t[c] - s[c]) * mask + s[c] * 256) >> 8;
    t[c] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
  if (targetFormat == PixelFormat::pf32bit) t[3] = 255;
}

// True when the accessors can attach: the bitmap exists, has the format and is at least 2 x 2.
bool CanAttach(const Bitmap* bitmap, PixelFormat format);

// Row access to a bitmap of one format: TvlFast24 answers 0x00BBGGRR colours, TvlFast32
// 0xAABBGGRR values.
template <PixelFormat Format, class Value>
class TvlFastAccess {
 public:
  // False (and detached) when the bitmap is missing, of another format or under 2 x 2.
  bool Attach(Bitmap* bitmap) {
    bitmap_ = CanAttach(bitmap, Format) ? bitmap : nullptr;
    return bitmap_ != nullptr;
  }
  bool Attached() const { return bitmap_ != nullptr; }
  int Width() const { return bitmap_->Width(); }
  int Height() const { return bitmap_->Height(); }
  uint8_t* Row(int y) const { return bitmap_->Row(y); }
  Value Pixel(int x, int y) const { return static_cast<Value>(bitmap_->GetPixel(x, y)); }
  void SetPixel(int x, int y, Value value) { bitmap_->SetPixel(x, y, static_cast<uint32_t>(value)); }

 private:
  Bitmap* bitmap_ = nullptr;  // borrowed
};

using TvlFast24 = TvlFastAccess<PixelFormat::pf24bit, TColor>;
using TvlFast32 = TvlFastAccess<PixelFormat::pf32bit, uint32_t>;

// Owning bitmaps of the two painting formats, all bytes zero. (The Windows build makes the same
// as device-independent sections: DibSection.h.)
Bitmap CreateBitmap24(int width, int height);
Bitmap CreateBitmap32(int width, int height);

// A copy of width x height pixels from (sourceX, sourceY) to (targetX, targetY).
struct Piece {
  int targetX = 0;
  int targetY = 0;
  int sourceX = 0;
  int sourceY = 0;
  int width = 0;
  int height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

// Cuts a piece so that it writes only inside `targetArea` and reads only inside `sourceArea`;
// a start cut on one side moves the other side's start by the same amount.
Piece ClipPiece(Piece piece, const Rect& targetArea, const Rect& sourceArea);
