// See RoundRect.h.
#include "paint/RoundRect.h"

#include <algorithm>

#include "pixel/PixelAccess.h"

void FillRoundRect(Bitmap& bitmap, const Rect& rect, int radius, TColor c) {
  if (bitmap.Format() == PixelFormat::pf8bit || rect.Empty()) return;
  radius = std::clamp(radius, 0, std::min(rect.Width(), rect.Height()) / 2);
  Rect visible = rect.Intersect(bitmap.Bounds());
  Bgra pixel = ToPixel32(c);
  int step = bitmap.BytesPerPixel();
  // In doubled coordinates pixel centres are odd numbers and the corner circles' centres whole.
  long long r2 = 4LL * radius * radius;
  for (int y = visible.top; y < visible.bottom; ++y) {
    int cy = 2 * y + 1;
    // Distance from the nearer corner-circle centre row, when the row lies in a corner band.
    int dy = 0;
    if (y < rect.top + radius) dy = 2 * (rect.top + radius) - cy;
    else if (y >= rect.bottom - radius) dy = cy - 2 * (rect.bottom - radius);
    uint8_t* p = bitmap.PixelAt(visible.left, y);
    for (int x = visible.left; x < visible.right; ++x, p += step) {
      if (dy > 0) {
        int cx = 2 * x + 1;
        int dx = 0;
        if (x < rect.left + radius) dx = 2 * (rect.left + radius) - cx;
        else if (x >= rect.right - radius) dx = cx - 2 * (rect.right - radius);
        if (dx > 0 && 1LL * dx * dx + 1LL * dy * dy > r2) continue;
      }
      WritePixel(p, bitmap.Format(), pixel);
    }
  }
}
