// See FrameRegion.h.
#include "frame/FrameRegion.h"

#include <algorithm>

#include "framework/Color.h"

namespace frame_region {

namespace {

bool IsKey(const Bitmap& picture, int x, int y) {
  return (picture.GetPixel(x, y) & 0xFFFFFFu) == static_cast<uint32_t>(clFuchsia);
}

// The key-colour runs of one zone: `source` in the picture, its top-left placed at `at` in the
// window.
void AddZone(const Bitmap& picture, const Rect& source, Point at, int width, int height, std::vector<Rect>& cuts) {
  Rect readable = source.Intersect(picture.Bounds());
  for (int y = readable.top; y < readable.bottom; ++y) {
    int windowY = at.y + (y - source.top);
    if (windowY < 0 || windowY >= height) continue;
    for (int x = readable.left; x < readable.right;) {
      if (!IsKey(picture, x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (end < readable.right && IsKey(picture, end, y)) ++end;
      int left = std::max(0, at.x + (x - source.left));
      int right = std::min(width, at.x + (end - source.left));
      if (left < right) cuts.push_back({left, windowY, right, windowY + 1});
      x = end;
    }
  }
}

}  // namespace

void AddCornerCuts(const Bitmap& picture, const TsMaskData& mask, int width, int height, bool bottomCorners,
                   std::vector<Rect>& cuts) {
  if (picture.Format() == PixelFormat::pf8bit || width <= 0 || height <= 0) return;
  const int stateWidth = mask.ImageCount > 0 ? StateWidth(mask) : mask.R.Width();
  const int stateHeight = StateHeight(mask);
  if (stateWidth <= 0 || stateHeight <= 0) return;
  const Rect state = Rect::FromSize(mask.R.left, mask.R.top, stateWidth, stateHeight);
  const int wl = std::clamp<int>(mask.WL, 0, stateWidth), wr = std::clamp<int>(mask.WR, 0, stateWidth);
  const int wt = std::clamp<int>(mask.WT, 0, stateHeight), wb = std::clamp<int>(mask.WB, 0, stateHeight);
  const int rightX = state.right - wr, bottomY = state.bottom - wb;
  AddZone(picture, Rect::FromSize(state.left, state.top, wl, wt), {0, 0}, width, height, cuts);
  AddZone(picture, Rect::FromSize(rightX, state.top, wr, wt), {width - wr, 0}, width, height, cuts);
  if (!bottomCorners) return;
  AddZone(picture, Rect::FromSize(state.left, bottomY, wl, wb), {0, height - wb}, width, height, cuts);
  AddZone(picture, Rect::FromSize(rightX, bottomY, wr, wb), {width - wr, height - wb}, width, height, cuts);
}

}  // namespace frame_region
