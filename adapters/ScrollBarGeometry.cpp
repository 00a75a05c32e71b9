#include "adapters/ScrollBarGeometry.h"

#include <algorithm>

namespace scroll_geometry {

int64_t MulDivRounded(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  // |a|, |b| and |c| stay below 2^33 for every caller here, so the product fits.
  int64_t product = a * b;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = product < 0 ? -product : product;
  int64_t divisor = c < 0 ? -c : c;
  int64_t quotient = (magnitude + divisor / 2) / divisor;
  return negative ? -quotient : quotient;
}

int64_t LastPosition(const ScrollValues& values) {
  int64_t last = static_cast<int64_t>(values.max) - std::max<int64_t>(static_cast<int64_t>(values.page) - 1, 0);
  return std::max<int64_t>(last, values.min);
}

// How many positions the thumb can stand for, counted as the offset arithmetic counts them.
static int64_t PositionCount(const ScrollValues& values) {
  return RangeOf(values) - std::max<int64_t>(static_cast<int64_t>(values.page) - 1, 0) + 1;
}

int ThumbSize(int trackLength, int arrow, const ScrollValues& values, int minThumb) {
  int64_t range = RangeOf(values);
  if (trackLength <= 0 || !UsableRange(range)) return 0;
  if (values.page == 0) return std::max(arrow, 0);
  if (values.page > range + 1) return trackLength + 1;  // the page covers everything
  int64_t size = MulDivRounded(values.page, trackLength, range + 1);
  size = std::max<int64_t>(size, minThumb);
  return static_cast<int>(std::min<int64_t>(size, static_cast<int64_t>(trackLength) + 1));
}

int ThumbOffset(int trackLength, int thumbSize, const ScrollValues& values, int64_t pos) {
  int64_t range = RangeOf(values);
  int free = trackLength - thumbSize;
  if (free <= 0 || !UsableRange(range)) return 0;
  int64_t count = PositionCount(values);
  if (count <= 0) return 0;
  pos = std::clamp<int64_t>(pos, values.min, values.max);
  int64_t offset = MulDivRounded(pos - values.min, free, count);
  return static_cast<int>(std::clamp<int64_t>(offset, 0, free));
}

BarLayout LayoutBar(int length, int arrow, const ScrollValues& values, int minThumb, int64_t thumbPos) {
  BarLayout layout;
  layout.length = std::max(length, 0);
  arrow = std::max(arrow, 0);
  if (2 * arrow >= layout.length) {
    layout.halfArrows = true;
    layout.arrow = layout.length / 2;
    layout.trackStart = layout.arrow;
    return layout;
  }
  layout.arrow = arrow;
  layout.trackStart = arrow;
  layout.trackLength = layout.length - 2 * arrow;
  int size = ThumbSize(layout.trackLength, arrow, values, minThumb);
  if (size > 0 && size < layout.trackLength) {
    layout.thumbSize = size;
    layout.thumbStart = layout.trackStart + ThumbOffset(layout.trackLength, size, values, thumbPos);
    layout.pageParts = true;
  }
  return layout;
}

ScrollPart PartAt(const BarLayout& layout, int along) {
  if (along < 0 || along >= layout.length) return spNone;
  if (along < layout.arrow) return spFirstArrow;
  if (along >= layout.length - layout.arrow) return spSecondArrow;
  if (!layout.pageParts) return spNone;
  if (along < layout.thumbStart) return spTrackBefore;
  if (along < layout.ThumbEnd()) return spThumb;
  return spTrackAfter;
}

int ClampThumbStart(const BarLayout& layout, int start) {
  if (!layout.HasThumb()) return layout.trackStart;
  return std::clamp(start, layout.trackStart, layout.TrackEnd() - layout.thumbSize);
}

int DragPosition(const BarLayout& layout, const ScrollValues& values, int start) {
  int64_t range = RangeOf(values);
  int free = layout.trackLength - layout.thumbSize;
  if (!layout.HasThumb() || range < 1 || !UsableRange(range) || free <= 0) return values.min;
  int64_t x = ClampThumbStart(layout, start) - layout.trackStart;
  int64_t pos = static_cast<int64_t>(values.min) + MulDivRounded(x, PositionCount(values), free);
  return static_cast<int>(std::clamp<int64_t>(pos, values.min, LastPosition(values)));
}

}  // namespace scroll_geometry
