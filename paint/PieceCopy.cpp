// See PieceCopy.h.
#include "paint/PieceCopy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pixel/ColorMath.h"
#include "pixel/PixelAccess.h"

namespace {

Piece ClippedPiece(const Bitmap& target, int x, int y, const Rect& sourceRect, const Rect& sourceArea) {
  return ClipPiece({x, y, sourceRect.left, sourceRect.top, sourceRect.Width(), sourceRect.Height()}, target.Bounds(),
                   sourceArea);
}

// Copies the background's pixel behind target pixel (x, y), when the background has one there.
void CopyFromBackground(uint8_t* t, PixelFormat format, const TsBackgroundRef& info, int x, int y) {
  int bx = info.X + x;
  int by = info.Y + y;
  if (!info.Bitmap || !info.Bitmap->Bounds().Contains({bx, by})) return;
  WritePixel(t, format, ReadPixel(info.Bitmap->PixelAt(bx, by), info.Bitmap->Format()));
}

bool IsPaintFormat(const Bitmap& b) { return b.Format() != PixelFormat::pf8bit; }

}  // namespace

void CopyPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect) {
  Piece p = ClippedPiece(target, x, y, sourceRect, source.Bounds());
  if (p.Empty()) return;
  if (target.Format() == source.Format()) {
    size_t bytes = static_cast<size_t>(p.width) * static_cast<size_t>(target.BytesPerPixel());
    for (int j = 0; j < p.height; ++j)
      std::memmove(target.PixelAt(p.targetX, p.targetY + j), source.PixelAt(p.sourceX, p.sourceY + j), bytes);
    return;
  }
  PixelFormat tf = target.Format();
  PixelFormat sf = source.Format();
  ForEachPiecePixel(target, source, p, [tf, sf](uint8_t* t, const uint8_t* s, int, int) { WritePixel(t, tf, ReadPixel(s, sf)); });
}

void TilePiece(Bitmap& target, const Rect& area, const Bitmap& source, const Rect& sourceRect) {
  Rect visible = area.Intersect(target.Bounds());
  int w = sourceRect.Width(), h = sourceRect.Height();
  if (visible.Empty() || w <= 0 || h <= 0) return;
  if (sourceRect.Intersect(source.Bounds()) != sourceRect) {
    // A tile partly outside its picture: copy tile by tile, each cut to the picture.
    ForEachTile(area, w, h, [&](int x, int y, int pw, int ph) {
      if (x + pw <= visible.left || y + ph <= visible.top || x >= visible.right || y >= visible.bottom) return;
      CopyPiece(target, x, y, source, Rect::FromSize(sourceRect.left, sourceRect.top, pw, ph));
    });
    return;
  }
  // Each tile row becomes one line of the visible width, made once and copied to every target
  // row it repeats on, so small tiles cost no more than large ones.
  PixelFormat tf = target.Format(), sf = source.Format();
  int targetStep = target.BytesPerPixel(), sourceStep = source.BytesPerPixel();
  size_t lineBytes = static_cast<size_t>(visible.Width()) * static_cast<size_t>(targetStep);
  int lineCount = std::min(h, visible.Height());
  thread_local std::vector<uint8_t> lines;  // reused: a fresh buffer costs more than the tiling
  lines.resize(lineBytes * static_cast<size_t>(lineCount));
  for (int y = visible.top; y < visible.bottom; ++y) {
    // Rows a tile height apart share a line; the first tile height of rows makes them.
    uint8_t* line = &lines[lineBytes * static_cast<size_t>((y - visible.top) % lineCount)];
    if (y - visible.top < lineCount) {
      const uint8_t* row = source.Row(sourceRect.top + (y - area.top) % h);
      int i = (visible.left - area.left) % w;
      for (int x = 0; x < visible.Width(); ++x) {
        WritePixel(line + static_cast<size_t>(x) * static_cast<size_t>(targetStep), tf,
                   ReadPixel(row + static_cast<ptrdiff_t>(sourceRect.left + i) * sourceStep, sf));
        if (++i == w) i = 0;
      }
    }
    std::memcpy(target.PixelAt(visible.left, y), line, lineBytes);
  }
}

void CopyMaskedPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, const TsMaskData& item,
                     bool cornerMode, const TsBackgroundRef& info) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  int maskOffset = StateHeight(item);
  if (maskOffset <= 0) return;
  // The mask rows must lie inside the source too.
  Rect readable{0, 0, source.Width(), source.Height() - maskOffset};
  Piece p = ClippedPiece(target, x, y, sourceRect, readable);
  if (p.Empty()) return;
  PixelFormat tf = target.Format();
  PixelFormat sf = source.Format();
  ptrdiff_t maskDistance = source.Stride() * maskOffset;
  bool fromBackground = cornerMode && info.Valid;
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* s, int tx, int ty) {
    if (!IsKeyPixel(s, sf, clFuchsia))
      MaskPixel(t, tf, s, s + maskDistance);
    else if (fromBackground)
      CopyFromBackground(t, tf, info, tx, ty);
  });
}

void TileMaskedPiece(Bitmap& target, const Rect& area, const Bitmap& source, const Rect& sourceRect, const TsMaskData& item) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  int maskOffset = StateHeight(item);
  int w = sourceRect.Width(), h = sourceRect.Height();
  Rect visible = area.Intersect(target.Bounds());
  if (maskOffset <= 0 || w <= 0 || h <= 0 || visible.Empty()) return;
  Rect readable{0, 0, source.Width(), source.Height() - maskOffset};
  PixelFormat tf = target.Format(), sf = source.Format();
  int targetStep = target.BytesPerPixel(), sourceStep = source.BytesPerPixel();
  ptrdiff_t maskDistance = source.Stride() * maskOffset;
  for (int y = visible.top; y < visible.bottom; ++y) {
    int sy = sourceRect.top + (y - area.top) % h;
    if (sy < readable.top || sy >= readable.bottom) continue;
    uint8_t* t = target.PixelAt(visible.left, y);
    const uint8_t* sourceRow = source.Row(sy);
    int i = (visible.left - area.left) % w;
    for (int x = visible.left; x < visible.right; ++x, t += targetStep) {
      int sx = sourceRect.left + i;
      if (++i == w) i = 0;
      if (sx < readable.left || sx >= readable.right) continue;
      const uint8_t* s = sourceRow + static_cast<ptrdiff_t>(sx) * sourceStep;
      if (!IsKeyPixel(s, sf, clFuchsia)) MaskPixel(t, tf, s, s + maskDistance);
    }
  }
}

void CopyKeyedPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, TColor key,
                    bool cornerMode, const TsBackgroundRef& info) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  Piece p = ClippedPiece(target, x, y, sourceRect, source.Bounds());
  if (p.Empty()) return;
  PixelFormat tf = target.Format();
  PixelFormat sf = source.Format();
  key = PlainColor(key);
  bool fromBackground = cornerMode && info.Bitmap;
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* s, int tx, int ty) {
    if (!IsKeyPixel(s, sf, key))
      WritePixel(t, tf, ReadPixel(s, sf));
    else if (fromBackground)
      CopyFromBackground(t, tf, info, tx, ty);
  });
}

void MixPiece(Bitmap& target, int x, int y, const Bitmap& source, const Rect& sourceRect, uint32_t key, double fraction) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  Piece p = ClippedPiece(target, x, y, sourceRect, source.Bounds());
  if (p.Empty()) return;
  PixelFormat tf = target.Format();
  PixelFormat sf = source.Format();
  bool skipKey = key <= 0xFEFFFFFFu;
  TColor keyColour = static_cast<TColor>(key & 0xFFFFFF);
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* s, int, int) {
    if (skipKey && HasKeyColour(s, sf, keyColour)) return;
    for (int c = 0; c < 3; ++c) t[c] = ClampByte(RoundToNearestEven(s[c] - fraction * (s[c] - t[c])));
    if (tf == PixelFormat::pf32bit && sf == PixelFormat::pf24bit) t[3] = 255;
  });
}

void RestoreKeyedPixels(Bitmap& target, const Bitmap& source, const Rect& targetRect, int kind, const LoadedSkin* skin,
                        int itemIndex, const Rect& sourceRect) {
  if (!CanAttach(&target, PixelFormat::pf32bit) || !CanAttach(&source, PixelFormat::pf32bit)) return;
  int width = std::min(targetRect.Width(), source.Width() - sourceRect.left);
  int height = std::min(targetRect.Height(), source.Height() - sourceRect.top);
  Piece p = ClipPiece({targetRect.left, targetRect.top, sourceRect.left, sourceRect.top, width, height}, target.Bounds(),
                      source.Bounds());
  if (p.Empty()) return;

  const Bitmap* test = nullptr;  // the corner picture; none: test the target itself
  Point origin;
  if (itemIndex != -1) {
    if (!skin || !skin->IsValidItem(itemIndex)) return;
    const TsMaskData& item = skin->Items[static_cast<size_t>(itemIndex)];
    test = &skin->ItemBitmap(item);
    bool right = kind == ckTopRight || kind == ckBottomRight;
    bool bottom = kind == ckBottomLeft || kind == ckBottomRight;
    origin = {item.R.left + (right ? StateWidth(item) - item.WR : 0), item.R.top + (bottom ? StateHeight(item) - item.WB : 0)};
  }
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* s, int x, int y) {
    bool keyed;
    if (test) {
      // The same offset from the corner's origin as the pixel has from targetRect's corner.
      Point at{origin.x + x - targetRect.left, origin.y + y - targetRect.top};
      keyed = test->Bounds().Contains(at) && IsKeyPixel(test->PixelAt(at.x, at.y), test->Format(), clFuchsia);
    } else {
      keyed = HasKeyColour(t, PixelFormat::pf32bit, clFuchsia);
    }
    if (keyed) std::memcpy(t, s, 4);
  });
}
