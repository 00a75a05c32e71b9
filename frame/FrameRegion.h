// Which pixels of a skinned window lie outside its shape: the corners of a border mask may hold
// the key colour (rounded or cut corners), and those pixels are left out of the window's
// region so that the screen behind shows there. Plain C++: the provider turns the rectangles
// into the platform's region.
#pragma once

#include <vector>

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"
#include "skin/SkinTables.h"

namespace frame_region {

// Adds to `cuts` one row-high rectangle per horizontal run of key-colour (clFuchsia) pixels in
// the corner zones (WL/WR wide, WT/WB high) of the first state picture of `mask`, whose pixels
// are in `picture`: the left zones are mapped onto the window's left edge, the right zones onto
// its right edge, the top zones onto its top and, with `bottomCorners`, the bottom zones onto
// its bottom. Window coordinates, clipped to a window of `width` x `height`.
void AddCornerCuts(const Bitmap& picture, const TsMaskData& mask, int width, int height, bool bottomCorners,
                   std::vector<Rect>& cuts);

}  // namespace frame_region
