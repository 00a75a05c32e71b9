// Shading of a rectangle toward a colour through a rounded, soft-edged mask (selection and
// scroll-bar highlights). Plain C++.
#pragma once

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// Mixes rect of `bitmap` with the colour: the inside (inset by `edge`) keeps percent of its
// own value, the edge rings fade from that toward no change at the outside; corners are rounded
// with `radius`. Pixels outside the rounded outline are treated like the outermost ring (mask
// white), which keeps them to within one step.
void ShadeRect(Bitmap& bitmap, const Rect& rect, int percent, int radius, int edge, TColor c);
