// What lies under a skinned element: a bitmap holding the background (usually the parent's
// cached image) with the element's origin inside it, or else a fill colour. Painters use it
// for transparent pixels. Plain C++.
#pragma once

#include "framework/Color.h"
#include "pixel/Bitmap.h"

struct TsBackgroundRef {
  const ::Bitmap* Bitmap = nullptr;  // borrowed; the background, or none
  int X = 0;                         // the element's origin inside Bitmap
  int Y = 0;
  TColor FillColor = clFuchsia;      // the colour when there is no bitmap; clFuchsia: none
  bool Valid = false;                // Bitmap holds the background
};

inline TsBackgroundRef BackgroundFromBitmap(const Bitmap& bitmap, int x, int y) {
  return {&bitmap, x, y, clFuchsia, true};
}

// The background information of pieces that show nothing behind them (edges, centres).
inline TsBackgroundRef EmptyBackground() { return {nullptr, -99, 0, 0, false}; }
