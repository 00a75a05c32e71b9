// Placement of section textures: an unmasked texture item forms the background by one of its
// placement modes and leaves a rest for the section colour; a masked one is an overlay drawn
// through its mask; a large JPEG pattern is tiled. Plain C++.
#pragma once

#include <optional>

#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"
#include "skin/SkinTables.h"

// Draws the texture `item` (its pixels in `picture`) into rect by placement `mode` (0 to 14,
// see the cases in Texture.cpp) and answers the part of rect it left uncovered, or none. An item
// with its own picture is tiled over the whole rectangle whatever the mode. A texture without
// size draws nothing and leaves the whole rectangle.
std::optional<Rect> PlaceTexture(Bitmap& target, const Rect& rect, const Bitmap& picture, int mode, const TsMaskData& item);

// Draws the masked texture `item` through its mask: mode 10 tiles only whole tiles and fills the
// strips they leave at the bottom and right from `background` (its bitmap, at the same offset
// from rect's top-left, or else its fill colour); any other mode tiles the whole rectangle.
void PlaceMaskedTexture(Bitmap& target, const Rect& rect, const TsBackgroundRef& background, int mode,
                        const TsMaskData& item, const Bitmap& picture);

// Tiles the whole of a pattern picture over rect.
void TilePattern(Bitmap& target, const Rect& rect, const Bitmap& pattern);
