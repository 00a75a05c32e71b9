// See PixelAccess.h.
#include "pixel/PixelAccess.h"

#include <algorithm>

Bgra ToPixel32(TColor c) {
  c = PlainColor(c);
  return {BlueOf(c), GreenOf(c), RedOf(c), 255};
}

bool CanAttach(const Bitmap* bitmap, PixelFormat format) {
  return bitmap && bitmap->Format() == format && bitmap->Width() >= 2 && bitmap->Height() >= 2;
}

Bitmap CreateBitmap24(int width, int height) { return Bitmap(width, height, PixelFormat::pf24bit); }

Bitmap CreateBitmap32(int width, int height) { return Bitmap(width, height, PixelFormat::pf32bit); }

Piece ClipPiece(Piece p, const Rect& targetArea, const Rect& sourceArea) {
  auto cutStart = [](int& target, int& source, int& length, int targetMin, int sourceMin) {
    int cut = std::max(targetMin - target, sourceMin - source);
    if (cut > 0) {
      target += cut;
      source += cut;
      length -= cut;
    }
  };
  cutStart(p.targetX, p.sourceX, p.width, targetArea.left, sourceArea.left);
  cutStart(p.targetY, p.sourceY, p.height, targetArea.top, sourceArea.top);
  p.width = std::min({p.width, targetArea.right - p.targetX, sourceArea.right - p.sourceX});
  p.height = std::min({p.height, targetArea.bottom - p.targetY, sourceArea.bottom - p.sourceY});
  if (p.width < 0) p.width = 0;
  if (p.height < 0) p.height = 0;
  return p;
}
