// The look of disabled elements: their picture turned grey and/or mixed with what lies behind
// them. Plain C++.
#pragma once

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"

// Flags of ApplyDisabledLook.
enum DisabledLookFlags : unsigned { dlBlended = 1, dlGrey = 2 };

// With dlGrey the picture turns grey first. With dlBlended it is mixed with the background: with
// a valid background each pixel becomes 0.4 of itself and 0.6 of the background's pixel at
// (x + background.X + offset.x, y + background.Y + offset.y); otherwise it fades halfway toward
// background.FillColor, or toward `parentColor` when that is clFuchsia (none).
void ApplyDisabledLook(Bitmap& picture, unsigned flags, TColor parentColor, Point offset, const TsBackgroundRef& background);
