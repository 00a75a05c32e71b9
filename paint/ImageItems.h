// The painters of image items: the nine-part border painter, which stretches or tiles a border
// item around a rectangle, and the glyph painter, which places one state picture of a small
// item at a point. Item pixels come from the loaded skin (the item's own picture or the master
// bitmap); without a skin nothing is painted. Plain C++.
#pragma once

#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"
#include "skin/LoadedSkin.h"

// Paints the nine-part border of `item` in `state` (clamped to its pictures) around `rect`.
// Corners show `info` under their key-colour pixels when cornerMode is set; the centre is
// filled only with fillCentre and StretchMode bit 2. Nothing in state 0 with StretchMode bit 1,
// nor for a rectangle under 2 pixels wide or high.
void PaintBorderItem(const LoadedSkin* skin, Bitmap& target, const Rect& rect, bool fillCentre, bool cornerMode,
                     int state, const TsMaskData& item, const TsBackgroundRef& info);

// Paints one state picture of `item` with its top-left corner at `point`. mode 1 is the normal
// look; any other value the faded look of disabled controls.
void PaintGlyphItem(const LoadedSkin* skin, Bitmap& target, Point point, int state, const TsBackgroundRef& info,
                    const TsMaskData& item, int mode);
