// See ShadowFrame.h.
#include "frame/ShadowFrame.h"

#include <algorithm>

namespace frame_shadow {

NinePart::NinePart(const Bitmap& picture, const Rect& borders, int w, int h)
    : shadow(picture), width(w), height(h) {
  const int sw = picture.Width(), sh = picture.Height();
  // The corners of the picture may not overlap, neither in the picture nor in the target.
  left = std::clamp(borders.left, 0, std::max(0, std::min(sw, w) / 2));
  right = std::clamp(borders.right, 0, std::max(0, std::min(sw - left, w - left)));
  top = std::clamp(borders.top, 0, std::max(0, std::min(sh, h) / 2));
  bottom = std::clamp(borders.bottom, 0, std::max(0, std::min(sh - top, h - top)));
}

namespace {

// One axis of the nine parts: the first `low` and the last `high` pixels as they are, what lies
// between stretched over the middle of the picture.
int SourceOf(int v, int low, int high, int extent, int sourceExtent) {
  if (v < low) return v;
  if (v >= extent - high) return sourceExtent - (extent - v);
  const int span = extent - low - high, sourceSpan = sourceExtent - low - high;
  if (span <= 0 || sourceSpan <= 0) return std::clamp(v, 0, sourceExtent - 1);
  return low + static_cast<int>(static_cast<long long>(v - low) * sourceSpan / span);
}

}  // namespace

int NinePart::SourceX(int x) const { return SourceOf(x, left, right, width, shadow.Width()); }
int NinePart::SourceY(int y) const { return SourceOf(y, top, bottom, height, shadow.Height()); }

uint32_t NinePart::At(int x, int y) const {
  if (shadow.Empty() || shadow.Format() != PixelFormat::pf32bit) return 0;
  int sx = std::clamp(SourceX(x), 0, shadow.Width() - 1);
  int sy = std::clamp(SourceY(y), 0, shadow.Height() - 1);
  const uint8_t* p = shadow.PixelAt(sx, sy);
  return p[2] | (p[1] << 8) | (p[0] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

namespace {

// Source over target, both with straight alpha.
void Over(uint8_t* t, uint32_t s) {
  const unsigned sa = s >> 24;
  if (sa == 0) return;
  const unsigned ta = t[3];
  const unsigned sb = (s >> 16) & 0xFF, sg = (s >> 8) & 0xFF, sr = s & 0xFF;
  if (sa == 255 || ta == 0) {
    t[0] = static_cast<uint8_t>(sb);
    t[1] = static_cast<uint8_t>(sg);
    t[2] = static_cast<uint8_t>(sr);
    t[3] = static_cast<uint8_t>(sa);
    return;
  }
  // Weights in 1/65025: the source's own, and what of the target shows through it.
  const unsigned ws = sa * 255, wt = ta * (255 - sa);
  const unsigned w = ws + wt;
  t[0] = static_cast<uint8_t>((sb * ws + t[0] * wt + w / 2) / w);
  t[1] = static_cast<uint8_t>((sg * ws + t[1] * wt + w / 2) / w);
  t[2] = static_cast<uint8_t>((sr * ws + t[2] * wt + w / 2) / w);
  t[3] = static_cast<uint8_t>((w + 127) / 255);
}

}  // namespace

void BlendShadowFrame(Bitmap& image, const NinePart& shadow, const Rect& keep, bool replace) {
  if (image.Format() != PixelFormat::pf32bit || shadow.shadow.Empty()) return;
  const int w = std::min(image.Width(), shadow.width), h = std::min(image.Height(), shadow.height);
  const Rect untouched[2] = {shadow.Inner(), keep};
  for (int y = 0; y < h; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < w; ++x) {
      // Over an untouched area the row jumps to its end.
      bool jumped = false;
      for (const Rect& r : untouched) {
        if (!r.Empty() && r.Contains({x, y})) {
          x = r.right - 1;
          jumped = true;
          break;
        }
      }
      if (jumped) continue;
      uint8_t* t = row + static_cast<ptrdiff_t>(x) * 4;
      if (replace) {
        uint32_t v = shadow.At(x, y);
        t[0] = static_cast<uint8_t>(v >> 16);
        t[1] = static_cast<uint8_t>(v >> 8);
        t[2] = static_cast<uint8_t>(v);
        t[3] = static_cast<uint8_t>(v >> 24);
      } else {
        Over(t, shadow.At(x, y));
      }
    }
  }
}

void PutShadowPixels(Bitmap& image, const NinePart& shadow, const std::vector<Rect>& pixels) {
  if (image.Format() != PixelFormat::pf32bit) return;
  for (const Rect& r : pixels) {
    Rect area = r.Intersect(image.Bounds());
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) image.SetPixel(x, y, shadow.At(x, y));
  }
}

void RestoreAlpha(Bitmap& image, const Bitmap& before, Point at, const Rect& area) {
  if (image.Format() != PixelFormat::pf32bit || before.Format() != PixelFormat::pf32bit) return;
  Rect r = area.Intersect(image.Bounds()).Intersect(before.Bounds().Offset(at.x, at.y));
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) image.PixelAt(x, y)[3] = before.PixelAt(x - at.x, y - at.y)[3];
}

}  // namespace frame_shadow
