// Snapping a moved window to the edges of its monitor's work area: an edge that comes closer
// to a work-area edge than the snap distance lies exactly on it. Plain C++: the provider feeds
// it the window's proposed bounds and the monitor's work area.
#pragma once

#include "framework/Geometry.h"

namespace frame_snap {

// The snap distance a frame uses unless told otherwise.
constexpr int kDefaultSnapDistance = 10;

// The top-left corner `window` (its proposed bounds, screen coordinates) takes. An edge snaps
// when it lies less than `distance` pixels from the work area's edge, inside or outside. The
// left and top edges win over the right and bottom ones, so a window larger than the work area
// keeps its title band and left border on the screen.
Point SnapToWorkArea(const Rect& window, const Rect& workArea, int distance);

}  // namespace frame_snap
