// See ScreenSnap.h.
#include "frame/ScreenSnap.h"

#include <cstdlib>

namespace frame_snap {

Point SnapToWorkArea(const Rect& window, const Rect& workArea, int distance) {
  Point at{window.left, window.top};
  const int width = window.Width(), height = window.Height();
  auto near = [distance](int edge, int target) { return std::abs(edge - target) < distance; };
  // Right and bottom first: the left and top rules override them.
  if (near(window.right, workArea.right)) at.x = workArea.right - width;
  if (near(window.bottom, workArea.bottom)) at.y = workArea.bottom - height;
  if (near(window.left, workArea.left)) at.x = workArea.left;
  if (near(window.top, workArea.top)) at.y = workArea.top;
  return at;
}

}  // namespace frame_snap
