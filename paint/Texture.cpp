// See Texture.h.
#include "paint/Texture.h"

#include <algorithm>

#include "pixel/BitmapBlend.h"
#include "paint/PieceCopy.h"
#include "paint/SmoothStretch.h"

namespace {

// The source picture of a texture item: its first state picture, cut to the bitmap.
Rect TextureSource(const TsMaskData& item, const Bitmap& picture) {
  int width = item.ImageCount >= 1 ? StateWidth(item) : item.R.Width();
  return Rect::FromSize(item.R.left, item.R.top, width, StateHeight(item)).Intersect(picture.Bounds());
}

// Copies the background behind `area` (which lies inside rect) into the target.
void ShowBackground(Bitmap& target, const Rect& rect, const Rect& area, const TsBackgroundRef& background) {
  if (area.Empty()) return;
  if (background.Valid && background.Bitmap) {
    int sx = background.X + area.left - rect.left;
    int sy = background.Y + area.top - rect.top;
    CopyPiece(target, area.left, area.top, *background.Bitmap, Rect::FromSize(sx, sy, area.Width(), area.Height()));
  } else if (background.FillColor != clFuchsia) {
    FillRectColor(target, area, background.FillColor);
  }
}

}  // namespace

std::optional<Rect> PlaceTexture(Bitmap& target, const Rect& rect, const Bitmap& picture, int mode, const TsMaskData& item) {
  if (item.Image) {
    TilePattern(target, rect, picture);
    return std::nullopt;
  }
  Rect source = TextureSource(item, picture);
  if (source.Empty() || rect.Empty()) return rect;
  int w = source.Width(), h = source.Height();
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  // A stretched strip never reaches beyond rect: a texture longer than rect is cut instead.
  int stripHeight = std::min(h, rect.Height()), stripWidth = std::min(w, rect.Width());
  switch (mode) {
    case 1:  // stretched once over the whole rectangle
      StretchSmooth(target, rect, picture, source);
      return std::nullopt;
    case 2:  // a row of tiles along the top
      TilePiece(target, {l, t, r, t + stripHeight}, picture, source);
      return Rect{l, t + stripHeight, r, b};
    case 3:  // a column of tiles down the left side
      TilePiece(target, {l, t, l + stripWidth, b}, picture, source);
      return Rect{l + stripWidth, t, r, b};
    case 4:  // stretched to the width along the top
      StretchSmooth(target, {l, t, r, t + stripHeight}, picture, Rect::FromSize(source.left, source.top, w, stripHeight));
      return Rect{l, t + stripHeight, r, b};
    case 5:  // stretched to the height down the left side
      StretchSmooth(target, {l, t, l + stripWidth, b}, picture, Rect::FromSize(source.left, source.top, stripWidth, h));
      return Rect{l + stripWidth, t, r, b};
    case 6:  // a row of tiles along the bottom
      TilePiece(target, {l, b - stripHeight, r, b}, picture, source);
      return Rect{l, t, r, b - stripHeight};
    case 7: case 8: case 9: case 11: case 12: case 13: case 14:  // a column of tiles down the right side
      TilePiece(target, {r - stripWidth, t, r, b}, picture, source);
      return Rect{l, t, r - stripWidth, b};
    case 10:  // whole rows only; the strip below them stays as it was
      TilePiece(target, {l, t, r, t + rect.Height() / h * h}, picture, source);
      return std::nullopt;
    default:  // 0: tiles over the whole rectangle
      TilePiece(target, rect, picture, source);
      return std::nullopt;
  }
}

void PlaceMaskedTexture(Bitmap& target, const Rect& rect, const TsBackgroundRef& background, int mode,
                        const TsMaskData& item, const Bitmap& picture) {
  Rect source = TextureSource(item, picture);
  if (source.Empty() || rect.Empty()) return;
  int w = source.Width(), h = source.Height();
  Rect tiled = rect;
  if (mode == 10) tiled = Rect::FromSize(rect.left, rect.top, rect.Width() / w * w, rect.Height() / h * h);
  TileMaskedPiece(target, tiled, picture, source, item);
  if (mode != 10) return;
  ShowBackground(target, rect, {rect.left, tiled.bottom, rect.right, rect.bottom}, background);
  ShowBackground(target, rect, {tiled.right, rect.top, rect.right, tiled.bottom}, background);
}

void TilePattern(Bitmap& target, const Rect& rect, const Bitmap& pattern) {
  TilePiece(target, rect, pattern, pattern.Bounds());
}
