// See ShadeRect.h.
#include "paint/ShadeRect.h"

#include <algorithm>

#include "pixel/BitmapBlend.h"
#include "pixel/ColorMath.h"
#include "paint/PieceCopy.h"
#include "paint/RoundRect.h"

namespace {
TColor Grey(int v) { return MakeColor(static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)); }
}  // namespace

void ShadeRect(Bitmap& bitmap, const Rect& rect, int percent, int radius, int edge, TColor c) {
  if (bitmap.Format() == PixelFormat::pf8bit || rect.Empty()) return;
  int d = percent * 255 / 100;
  int width = rect.Width(), height = rect.Height();
  Bitmap work(width, height, PixelFormat::pf24bit);
  CopyPiece(work, 0, 0, bitmap, rect);
  // White outside the rounded outline: those pixels stay as they are (to within one step).
  Bitmap mask(width, height, PixelFormat::pf24bit);
  FillRectColor(mask, mask.Bounds(), clWhite);
  edge = std::clamp(std::min({width / 2, height / 2, edge}), 0, width);
  radius = std::clamp(std::min({width / 2, height / 2, radius}), 0, width);
  for (int t = 0; t <= edge; ++t) {
    int grey = t == 0 ? 255 : d + static_cast<int>(DivideRounded(int64_t{255 - d} * (edge - t + 1), edge + 1));
    FillRoundRect(mask, {t, t, width - t, height - t}, radius, Grey(ClampByte(grey)));
  }
  FillRoundRect(mask, {edge, edge, width - edge, height - edge}, radius, Grey(ClampByte(d)));
  BlendWithColorMask(work, mask, c);
  // Back only where the rectangle lies inside the bitmap.
  Rect visible = rect.Intersect(bitmap.Bounds());
  CopyPiece(bitmap, visible.left, visible.top, work, visible.Offset(-rect.left, -rect.top));
}
