// Copies of rectangular pieces between bitmaps, the building blocks of the item painters: opaque
// copies and tiling, copies through a mask picture, copies that treat a key colour as
// transparent, fractional mixes, and the restoring of pixels under a corner picture's key
// colour. Every copy is clipped to both bitmaps before its loops; 24-bit and 32-bit bitmaps mix
// freely (a 24-bit pixel written into a 32-bit bitmap gets alpha 255). Plain C++.
#pragma once

#include <cstdint>

#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"
#include "pixel/PixelAccess.h"
#include "skin/LoadedSkin.h"

// Copies sourceRect of `source` to (x, y) of `target`.
void CopyPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect);

// Calls copy(x, y, width, height) for the pieces of a width x height tile that cover `area`
// row by row from its top-left corner; the last column and row are cut. Nothing for a tile or
// an area without size.
template <class Copy>
void ForEachTile(const Rect& area, int width, int height, Copy copy) {
  if (width <= 0 || height <= 0 || area.Empty()) return;
  for (int y = area.top; y < area.bottom; y += height)
    for (int x = area.left; x < area.right; x += width)
      copy(x, y, area.right - x < width ? area.right - x : width, area.bottom - y < height ? area.bottom - y : height);
}

// Calls visit(targetPixel, sourcePixel, targetX, targetY) for every pixel pair of a piece that
// is already clipped to both bitmaps.
template <class Visit>
void ForEachPiecePixel(Bitmap& target, const Bitmap& source, const Piece& p, Visit visit) {
  int targetStep = target.BytesPerPixel();
  int sourceStep = source.BytesPerPixel();
  for (int j = 0; j < p.height; ++j) {
    uint8_t* t = target.PixelAt(p.targetX, p.targetY + j);
    const uint8_t* s = source.PixelAt(p.sourceX, p.sourceY + j);
    for (int i = 0; i < p.width; ++i, t += targetStep, s += sourceStep) visit(t, s, p.targetX + i, p.targetY + j);
  }
}

// Tiles sourceRect of `source` over `area` of `target`.
void TilePiece(Bitmap& target, const Rect& area, const Bitmap& source, const Rect& sourceRect);

// Copies sourceRect through the mask that lies StateHeight(item) rows below it: per channel
// D = ((D - S) * M + S * 256) >> 8, so mask 0 gives the source and 255 keeps the target. Source
// pixels of the key colour take the background's pixel (info.X + x, info.Y + y) when cornerMode
// is set and info is valid, and are left otherwise. 32-bit targets get alpha 255.
void CopyMaskedPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, const TsMaskData& item,
                     bool cornerMode, const TsBackgroundRef& info);

// Tiles sourceRect over `area` through its mask, as CopyMaskedPiece tile by tile without a
// background: key-colour pixels leave the target as it was.
void TileMaskedPiece(Bitmap& target, const Rect& area, const Bitmap& source, const Rect& sourceRect, const TsMaskData& item);

// Copies sourceRect to (x, y), skipping source pixels of the key colour, or, with cornerMode and
// a background bitmap, putting the background's pixel there instead. A 32-bit source pixel is
// copied whole, alpha included, and is the key only with alpha 0.
void CopyKeyedPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, TColor key,
                    bool cornerMode, const TsBackgroundRef& info);

// Mixes sourceRect into the target at (x, y): each colour byte becomes S - fraction * (S - D),
// rounded. Source pixels equal to the key are skipped, unless the key is above 0xFEFFFFFF.
void MixPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, uint32_t key, double fraction);

// Corner kinds of RestoreKeyedPixels: which corner of a border item is the test picture.
enum CornerKind { ckTopLeft = 13, ckTopRight = 14, ckBottomLeft = 16, ckBottomRight = 17 };

// Puts pixels of `source` (from sourceRect's top-left) back into targetRect of `target` (both
// 32-bit) where the test picture shows the key colour: with an item, that corner of its first
// state picture; with item index -1, the target pixel itself.
void RestoreKeyedPixels(Bitmap& target, const Bitmap& source, const Rect& targetRect, int kind, const LoadedSkin* skin,
                        int itemIndex, const Rect& sourceRect);
