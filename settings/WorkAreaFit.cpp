// See WorkAreaFit.h.
#include "settings/WorkAreaFit.h"

#include <algorithm>
#include <cstdint>

namespace work_area_fit {

namespace {

int64_t Overlap(const Rect& a, const Rect& b) {
  int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// The gap between two rectangles along both axes (0 along an axis on which they overlap).
int64_t Distance(const Rect& a, const Rect& b) {
  int64_t dx = std::max<int64_t>({0, int64_t{b.left} - a.right, int64_t{a.left} - b.right});
  int64_t dy = std::max<int64_t>({0, int64_t{b.top} - a.bottom, int64_t{a.top} - b.bottom});
  return dx + dy;
}

bool Contains(const Rect& area, const Rect& r) {
  return r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom;
}

}  // namespace

Rect FitTitleBand(const Rect& window, const std::vector<Rect>& workAreas, int bandHeight) {
  if (workAreas.empty() || window.Width() <= 0 || window.Height() <= 0) return window;
  int band = std::clamp(bandHeight, 0, std::max(0, window.Height()));
  Rect title{window.left, window.top, window.right, window.top + band};
  for (const Rect& area : workAreas)
    if (Contains(area, title)) return window;

  const Rect* best = &workAreas.front();
  for (const Rect& area : workAreas) {
    int64_t overlap = Overlap(window, area), bestOverlap = Overlap(window, *best);
    if (overlap > bestOverlap || (overlap == bestOverlap && bestOverlap == 0 && Distance(window, area) < Distance(window, *best)))
      best = &area;
  }
  const Rect& area = *best;
  int width = std::min(window.Width(), area.Width());
  int height = std::min(window.Height(), area.Height());
  band = std::min(band, height);
  int left = std::clamp(window.left, area.left, area.right - width);
  // A window as tall as the work area fills it.
  int top = height < window.Height() ? area.top : std::clamp(window.top, area.top, area.bottom - band);
  return {left, top, left + width, top + height};
}

}  // namespace work_area_fit
