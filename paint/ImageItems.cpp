// See ImageItems.h.
#include "paint/ImageItems.h"

#include <algorithm>

#include "paint/PieceCopy.h"
#include "pixel/PixelAccess.h"
#include "paint/SmoothStretch.h"

namespace {

// Margins that fit a length: when the two margins are longer than it, both shrink by half the
// excess (and the far one by one more for an odd length), never below 0.
void FitMargins(int length, int& nearMargin, int& farMargin) {
  if (length >= nearMargin + farMargin) return;
  int d = (nearMargin + farMargin - length) / 2;
  nearMargin -= d;
  farMargin -= d;
  if (length % 2 != 0) --farMargin;
  nearMargin = std::max(nearMargin, 0);
  farMargin = std::max(farMargin, 0);
}

// Copies the pieces of one border: corners once, through the mask or with the key colour
// transparent; edges and centre repeated across their area (cut at its right and bottom ends),
// or, for unmasked items with `stretch`, stretched over it once. `source` is the piece in the
// item's picture.
struct BorderPieces {
  Bitmap& target;
  const Bitmap& picture;
  const TsMaskData& item;
  bool masked;
  bool stretch;

  void Corner(int x, int y, const Rect& source, bool cornerMode, const TsBackgroundRef& info) const {
    if (source.Empty()) return;
    if (masked)
      CopyMaskedPiece(target, x, y, picture, source, item, cornerMode, info);
    else
      CopyKeyedPiece(target, x, y, picture, source, clFuchsia, cornerMode, info);
  }

  void Fill(const Rect& area, const Rect& source) const {
    if (source.Empty() || area.Empty()) return;
    if (!masked && stretch) {
      StretchSmooth(target, area, picture, source);
    } else if (!masked) {
      TilePiece(target, area, picture, source);
    } else {
      TileMaskedPiece(target, area, picture, source, item);
    }
  }
};

}  // namespace

void PaintBorderItem(const LoadedSkin* skin, Bitmap& target, const Rect& rect, bool fillCentre, bool cornerMode,
                     int state, const TsMaskData& item, const TsBackgroundRef& info) {
  if ((state == 0 && (item.StretchMode & 2)) || rect.Width() < 2 || rect.Height() < 2 || !skin) return;
  int wl = item.WL, wt = item.WT, wr = item.WR, wb = item.WB;
  FitMargins(rect.Width(), wl, wr);
  FitMargins(rect.Height(), wt, wb);
  if (item.ImageCount <= 0) return;
  state = std::clamp(state, 0, item.ImageCount - 1);
  int stateWidth = StateWidth(item);
  int stateHeight = StateHeight(item);
  int x0 = item.R.left + state * stateWidth;
  int y0 = item.R.top;
  int midWidth = std::max(stateWidth - wl - wr, 0);
  int midHeight = std::max(stateHeight - wt - wb, 0);
  int rightX = x0 + wl + midWidth;       // source column of the right corners and edge
  int bottomY = y0 + stateHeight - wb;   // source row of the bottom corners and edge

  bool masked = item.MaskType > 0;
  BorderPieces pieces{target, skin->ItemBitmap(item), item, masked, !masked && (item.StretchMode & 1)};
  // Target areas of the edges and centre.
  int innerLeft = rect.left + wl, innerTop = rect.top + wt, innerRight = rect.right - wr, innerBottom = rect.bottom - wb;

  pieces.Corner(rect.left, rect.top, Rect::FromSize(x0, y0, wl, wt), cornerMode, info);
  pieces.Fill({rect.left, innerTop, innerLeft, innerBottom}, Rect::FromSize(x0, y0 + wt, wl, midHeight));
  pieces.Fill({innerLeft, rect.top, innerRight, innerTop}, Rect::FromSize(x0 + wl, y0, midWidth, wt));
  pieces.Corner(rect.left, innerBottom, Rect::FromSize(x0, bottomY, wl, wb), cornerMode, info);
  pieces.Fill({innerLeft, innerBottom, innerRight, rect.bottom}, Rect::FromSize(x0 + wl, bottomY, midWidth, wb));
  pieces.Corner(innerRight, innerBottom, Rect::FromSize(rightX, bottomY, wr, wb), cornerMode, info);
  pieces.Corner(innerRight, rect.top, Rect::FromSize(rightX, y0, wr, wt), cornerMode, info);
  pieces.Fill({innerRight, innerTop, rect.right, innerBottom}, Rect::FromSize(rightX, y0 + wt, wr, midHeight));
  if (fillCentre && (item.StretchMode & 4))
    pieces.Fill({innerLeft, innerTop, innerRight, innerBottom}, Rect::FromSize(x0 + wl, y0 + wt, midWidth, midHeight));
}

namespace {

// The masked glyph copy: key-colour pixels are skipped; the faded look raises the mask by 100
// so that more of the target shows through.
void CopyMaskedGlyph(Bitmap& target, Point point, const Bitmap& picture, const Rect& source, int maskOffset, bool faded) {
  if (target.Format() == PixelFormat::pf8bit || picture.Format() == PixelFormat::pf8bit || maskOffset <= 0) return;
  Rect readable{0, 0, picture.Width(), picture.Height() - maskOffset};
  Piece p = ClipPiece({point.x, point.y, source.left, source.top, source.Width(), source.Height()}, target.Bounds(), readable);
  if (p.Empty()) return;
  PixelFormat tf = target.Format(), sf = picture.Format();
  ptrdiff_t maskDistance = picture.Stride() * maskOffset;
  ForEachPiecePixel(target, picture, p, [&](uint8_t* t, const uint8_t* s, int, int) {
    if (!IsKeyPixel(s, sf, clFuchsia)) MaskPixel(t, tf, s, s + maskDistance, faded ? 100 : 0);
  });
}

}  // namespace

void PaintGlyphItem(const LoadedSkin* skin, Bitmap& target, Point point, int state, const TsBackgroundRef& info,
                    const TsMaskData& item, int mode) {
  bool faded = mode != 1;
  // Without state pictures the whole item is the one picture.
  int stateWidth = item.ImageCount >= 1 ? StateWidth(item) : item.R.Width();
  int stateHeight = StateHeight(item);
  state = std::clamp(state, 0, std::max(item.ImageCount - 1, 0));
  Rect source = Rect::FromSize(item.R.left + state * stateWidth, item.R.top, stateWidth, stateHeight);

  if (item.Image) {
    const Bitmap& picture = *item.Image;
    if (picture.Width() < item.R.right || picture.Height() < item.R.bottom) return;
    if (item.MaskType > 0)
      CopyMaskedGlyph(target, point, picture, source, stateHeight, faded);
    else
      CopyKeyedPiece(target, point.x, point.y, picture, source, clFuchsia, false, EmptyBackground());
    return;
  }
  if (!skin || item.ImageCount == 0) return;
  const Bitmap& master = skin->MasterBitmap;
  if (item.MaskType > 0)
    CopyMaskedGlyph(target, point, master, source, stateHeight, faded);
  else if (!faded)
    CopyKeyedPiece(target, point.x, point.y, master, source, clFuchsia, true, info);
  else
    MixPiece(target, point.x, point.y, master, source, static_cast<uint32_t>(clFuchsia), 0.5);
}
