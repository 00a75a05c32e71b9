// Smooth stretching of a bitmap piece, where the platform would stretch with its half-tone
// mode: every target pixel is the area-weighted average of the source pixels it covers, per
// channel (alpha included), in exact integer arithmetic, so results are the same everywhere.
// Plain C++.
#pragma once

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// Stretches sourceRect of `source` (cut to the source bitmap) over targetRect of `target`; only
// pixels inside the target are written. 24-bit and 32-bit bitmaps in any pairing (a 24-bit
// source gives alpha 255).
void StretchSmooth(Bitmap& target, const Rect& targetRect, const Bitmap& source, const Rect& sourceRect);
