// The two pictures of the extended-border shadow (active and inactive window) and how far the
// shadow reaches beyond the window, taken from the skin's "EXBORDER" item or, without one, from
// the program's built-in shadow pictures. Plain C++.
#pragma once

#include "pixel/Bitmap.h"
#include "skin/LoadedSkin.h"

struct TsExtendedBorderImages {
  Rect Margins;     // left, top, right, bottom: how far the shadow reaches beyond the window
  Bitmap Active;    // 32-bit
  Bitmap Inactive;  // 32-bit
};

struct TsExtendedBorderRequest {
  bool active = false;               // a skin is in force
  bool extendedBorders = false;      // the manager's ExtendedBorders reads true
  bool compositionEnabled = false;   // desktop composition is on (built-in shadows grow by 1)
  const Bitmap* builtInActive = nullptr;    // borrowed: the built-in shadow pictures, when present
  const Bitmap* builtInInactive = nullptr;  // borrowed
};

// Zero margins and no pictures when no skin is active or extended borders are off.
TsExtendedBorderImages PrepareExtendedBorders(const LoadedSkin& skin, int exBorderItem, const TsExtendedBorderRequest& request);
