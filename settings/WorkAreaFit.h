// Where a restored window may go: plain rectangle arithmetic that keeps a window's title band
// (its whole width, its top rows) on one monitor's work area, so that it can always be grabbed
// and moved. The form placement asks the platform for the work areas and the band height.
#pragma once

#include <vector>

namespace work_area_fit {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// `window` unchanged when its title band (`bandHeight` rows from its top, its whole width) lies
// on one of `workAreas`. Otherwise it goes to the work area it overlaps most (the nearest one
// when it overlaps none): shrunk to that area in each direction in which it is larger (a window
// shrunk in height fills the area's height), then moved the least distance that puts its band
// inside. Nothing changes without work areas or for an empty rectangle.
Rect FitTitleBand(const Rect& window, const std::vector<Rect>& workAreas, int bandHeight);

}  // namespace work_area_fit
