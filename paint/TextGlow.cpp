// See TextGlow.h.
#include "paint/TextGlow.h"

#include <algorithm>
#include <cstring>

#include "pixel/GaussBlur.h"

namespace {

Bitmap MakeGlowMask(TextRasterizer& rasterizer, const std::wstring& text, const Rect& rect, int size, unsigned contours,
                    uint32_t format) {
  int grow = size + 4;
  Bitmap mask(rect.Width() + 2 * grow, rect.Height() + 2 * grow, PixelFormat::pf8bit);
  for (int y = 0; y < mask.Height(); ++y) std::memset(mask.Row(y), 255, static_cast<size_t>(mask.Width()));
  Rect textRect = Rect::FromSize(grow, grow, rect.Width(), rect.Height());
  const struct {
    unsigned flag;
    int dx, dy;
  } shifts[] = {{tcLeft, -1, 0}, {tcUp, 0, -1}, {tcRight, 1, 0}, {tcDown, 0, 1}};
  for (const auto& s : shifts)
    if (contours & s.flag) rasterizer.DrawText(mask, text, textRect.Offset(s.dx, s.dy), format);
  rasterizer.DrawText(mask, text, textRect, format);
  BlurMask(mask, size);
  return mask;
}

}  // namespace

void PaintTextGlow(Bitmap& target, TextRasterizer& rasterizer, const std::wstring& text, const Rect& rect,
                   Bitmap* cache, TColor color, int size, unsigned contours, uint32_t format) {
  if (target.Format() == PixelFormat::pf8bit || rect.Empty()) return;
  size = std::max(size, 0);
  int grow = size + 4;
  int width = rect.Width() + 2 * grow, height = rect.Height() + 2 * grow;
  Bitmap fresh;
  const Bitmap* mask;
  if (cache && cache->Format() == PixelFormat::pf8bit && cache->Width() == width && cache->Height() == height) {
    mask = cache;
  } else {
    fresh = MakeGlowMask(rasterizer, text, rect, size, contours, format);
    if (cache) {
      *cache = std::move(fresh);
      mask = cache;
    } else {
      mask = &fresh;
    }
  }
  color = PlainColor(color);
  const int k[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
  int left = rect.left - grow, top = rect.top - grow;
  Rect inside = Rect::FromSize(left, top, width, height).Intersect(target.Bounds());
  int step = target.BytesPerPixel();
  bool alpha = target.Format() == PixelFormat::pf32bit;
  for (int y = inside.top; y < inside.bottom; ++y) {
    const uint8_t* m = mask->PixelAt(inside.left - left, y - top);
    uint8_t* p = target.PixelAt(inside.left, y);
    for (int x = inside.left; x < inside.right; ++x, ++m, p += step) {
      if (*m == 255) continue;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] - k[c]) * *m / 255 + k[c]);
      if (alpha) p[3] = static_cast<uint8_t>(std::max(0, p[3] + *m - 255));
    }
  }
}
