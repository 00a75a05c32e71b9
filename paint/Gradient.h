// The gradient painter: a list of steps from colour to colour, top to bottom, left to right,
// or shaded from the four corners and the centre (first step's mode decides). Plain C++.
#pragma once

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"
#include "skin/SkinTables.h"

// Paints `steps` into rect (clipped) of a 24-bit or 32-bit target; 32-bit pixels get alpha 255.
void PaintGradient(Bitmap& target, const Rect& rect, const TsGradArray& steps);
