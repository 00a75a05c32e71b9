// An exact filled rounded rectangle: pixels whose centres lie inside the rectangle with
// quarter-circle corners, decided in whole numbers so the shape is the same everywhere.
// Plain C++.
#pragma once

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// Fills rect (right and bottom exclusive) with corners of `radius` pixels (0: square corners;
// at most half the shorter side) in the colour, clipped to the bitmap. No outline.
void FillRoundRect(Bitmap& bitmap, const Rect& rect, int radius, TColor c);
