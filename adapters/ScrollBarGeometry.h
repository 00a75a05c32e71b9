// The arithmetic of a skinned scroll bar: where the arrows, the track and the thumb lie along a
// bar, which part a point falls on, and which scroll position a dragged thumb stands for. One
// layout serves painting, hit-testing and dragging alike, so the three always agree. Ranges are
// taken in 64 bits: nMax - nMin of any two ints neither overflows nor wraps. Plain C++.
#pragma once

#include <cstdint>

namespace scroll_geometry {

// Parts of a bar; the values are also the scroll request codes sent for them.
enum ScrollPart : int {
  spNone = -1,
  spFirstArrow = 0,   // SB_LINEUP / SB_LINELEFT
  spSecondArrow = 1,  // SB_LINEDOWN / SB_LINERIGHT
  spTrackBefore = 2,  // SB_PAGEUP / SB_PAGELEFT
  spTrackAfter = 3,   // SB_PAGEDOWN / SB_PAGERIGHT
  spThumb = 5,        // SB_THUMBTRACK
};

// The platform's scroll state of one bar.
struct ScrollValues {
  int min = 0;
  int max = 0;
  unsigned page = 0;
  int pos = 0;
};

// Longest range that still gives a thumb; wider or inverted ranges give none.
constexpr int64_t kLargestRange = 2147483646;
constexpr int kDefaultMinThumbSize = 10;

// a * b / c rounded half away from zero, in 64 bits; 0 when c is 0.
int64_t MulDivRounded(int64_t a, int64_t b, int64_t c);

// nMax - nMin, exact.
inline int64_t RangeOf(const ScrollValues& values) { return static_cast<int64_t>(values.max) - values.min; }
// Whether the range is one a thumb can show (0 .. kLargestRange).
inline bool UsableRange(int64_t range) { return range >= 0 && range <= kLargestRange; }
// The largest position the platform lets the bar take: nMax - max(nPage - 1, 0), never below nMin.
int64_t LastPosition(const ScrollValues& values);

// Where everything lies along a bar of `length` pixels; offsets count from the bar's start.
struct BarLayout {
  int length = 0;       // the whole bar
  int arrow = 0;        // each arrow's extent (half the bar when both arrows do not fit)
  bool halfArrows = false;  // the bar is too short for two full arrows: arrows only
  int trackStart = 0;   // the first pixel after the first arrow
  int trackLength = 0;  // pixels between the arrows (0 with half arrows)
  int thumbSize = 0;    // 0: no thumb
  int thumbStart = 0;   // offset of the thumb from the bar's start (valid with a thumb)
  bool pageParts = false;  // the track has parts before/after the thumb that page
  bool HasThumb() const { return thumbSize > 0; }
  int TrackEnd() const { return trackStart + trackLength; }
  int ThumbEnd() const { return thumbStart + thumbSize; }
};

// The thumb size for a track of `trackLength` pixels: an arrow's length when the page is 0,
// otherwise page * track / (range + 1) raised to `minThumb`; 0 for an unusable range or track.
int ThumbSize(int trackLength, int arrow, const ScrollValues& values, int minThumb);
// The thumb's offset inside the track for the position `pos` (clamped to the free track).
int ThumbOffset(int trackLength, int thumbSize, const ScrollValues& values, int64_t pos);

// The layout of a bar of `length` with arrows of `arrow` pixels showing `values`; `thumbPos` is
// the position the thumb stands for (the position, or the tracked position while dragging).
BarLayout LayoutBar(int length, int arrow, const ScrollValues& values, int minThumb, int64_t thumbPos);
inline BarLayout LayoutBar(int length, int arrow, const ScrollValues& values, int minThumb) {
  return LayoutBar(length, arrow, values, minThumb, values.pos);
}

// The part under `along` (pixels from the bar's start); spNone outside the bar.
ScrollPart PartAt(const BarLayout& layout, int along);

// A dragged thumb: where its start may go, and the position that start stands for. `start` is
// the wanted thumb start from the bar's start; the answer is pinned to the track.
int ClampThumbStart(const BarLayout& layout, int start);
// The scroll position for a thumb starting at `start` (already clamped): nMin at the track's
// start, the last position at its end.
int DragPosition(const BarLayout& layout, const ScrollValues& values, int start);

}  // namespace scroll_geometry
