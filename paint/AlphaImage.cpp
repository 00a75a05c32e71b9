// See AlphaImage.h.
#include "paint/AlphaImage.h"

#include <algorithm>

#include "pixel/ColorMath.h"
#include "paint/PieceCopy.h"
#include "pixel/PixelAccess.h"
#include "paint/SmoothStretch.h"

namespace {

bool IsPaintFormat(const Bitmap& b) { return b.Format() != PixelFormat::pf8bit; }

// The common size of the two rectangles, cut to both bitmaps.
Piece CommonPiece(const Bitmap& target, const Rect& targetRect, const Rect& sourceRect, const Rect& readable) {
  Piece p{targetRect.left, targetRect.top, sourceRect.left, sourceRect.top,
          std::min(targetRect.Width(), sourceRect.Width()), std::min(targetRect.Height(), sourceRect.Height())};
  return ClipPiece(p, target.Bounds(), readable);
}

bool IsWholeKey(const Bgra& s) { return s.b == 255 && s.g == 0 && s.r == 255 && s.a == 0; }

// Puts the background's pixel behind target pixel (x, y) there, opaque.
void TakeBackground(uint8_t* t, PixelFormat format, const TsBackgroundRef& bg, int x, int y) {
  int bx = x + bg.X, by = y + bg.Y;
  if (!bg.Bitmap || !bg.Bitmap->Bounds().Contains({bx, by})) return;
  Bgra p = ReadPixel(bg.Bitmap->PixelAt(bx, by), bg.Bitmap->Format());
  p.a = 255;
  WritePixel(t, format, p);
}

// The colour a source pixel lends its target: its own, or with a tint the pixel's grey scaled
// by the tint's channels.
struct Tint {
  bool active;
  int channel[3];

  explicit Tint(TColor tint) : active(tint != clNone), channel{0, 0, 0} {
    if (!active) return;
    tint = PlainColor(tint);
    channel[0] = BlueOf(tint);
    channel[1] = GreenOf(tint);
    channel[2] = RedOf(tint);
  }
  void Apply(Bgra& s) const {
    if (!active) return;
    int grey = (s.r + s.g + s.b) / 3;
    s.b = ClampByte(static_cast<int>(DivideRounded(grey * channel[0], 255)));
    s.g = ClampByte(static_cast<int>(DivideRounded(grey * channel[1], 255)));
    s.r = ClampByte(static_cast<int>(DivideRounded(grey * channel[2], 255)));
  }
};

void MixByAlpha(uint8_t* t, const Bgra& s, int alpha) {
  t[0] = ClampByte(((s.b - t[0]) * alpha + t[0] * 256) >> 8);
  t[1] = ClampByte(((s.g - t[1]) * alpha + t[1] * 256) >> 8);
  t[2] = ClampByte(((s.r - t[2]) * alpha + t[2] * 256) >> 8);
}

}  // namespace

void DrawAlphaImage(Bitmap& target, const Rect& targetRect, const Bitmap& source, const Rect& sourceRect, bool reflect,
                    int blend, TColor tint, bool keyFromBackground, const TsBackgroundRef& background) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  Piece p = CommonPiece(target, targetRect, sourceRect, source.Bounds());
  if (p.Empty()) return;
  PixelFormat tf = target.Format(), sf = source.Format();
  int tStep = target.BytesPerPixel(), sStep = source.BytesPerPixel();
  Tint tinting(tint);
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* sp, int x, int y) {
    Bgra s = ReadPixel(sp, sf);
    if (background.Valid && IsWholeKey(s)) {
      if (keyFromBackground) TakeBackground(t, tf, background, x, y);
      return;
    }
    int alpha = blend == 0 ? s.a : (100 - blend) * s.a / 100;
    tinting.Apply(s);
    MixByAlpha(t, s, alpha);
  });

  if (!reflect || sourceRect.Height() < 2) return;
  // The mirror: rows below targetRect from the picture's rows upward, fading out.
  int half = sourceRect.Height() / 2;
  int rows = std::min(half, target.Height() - targetRect.bottom - 1);
  int fade = 255;
  for (int k = 1; k <= rows; ++k, fade -= 255 / half) {
    int sourceRow = sourceRect.bottom - k - 1, targetRow = targetRect.bottom + k;
    if (sourceRow < 0 || sourceRow >= source.Height() || targetRow < 0) continue;
    uint8_t* t = target.PixelAt(p.targetX, targetRow);
    const uint8_t* sp = source.PixelAt(p.sourceX, sourceRow);
    for (int i = 0; i < p.width; ++i, t += tStep, sp += sStep) {
      Bgra s = ReadPixel(sp, sf);
      if (IsWholeKey(s)) continue;
      int alpha = blend != 0 ? (100 - blend) * s.a / 300 * fade / 255 : fade * (s.a / 3) / 255;
      tinting.Apply(s);
      MixByAlpha(t, s, std::max(alpha, 0));
    }
  }
}

void DrawMaskedPicture(Bitmap& target, const Rect& targetRect, const Bitmap& source, const Rect& sourceRect,
                       bool cornerMode, const TsBackgroundRef& background) {
  if (!IsPaintFormat(target) || !IsPaintFormat(source)) return;
  bool alphaSource = source.Format() == PixelFormat::pf32bit;
  int maskOffset = source.Height() / 2;
  // The mask rows of a 24-bit source must lie inside it too.
  Rect readable = alphaSource ? source.Bounds() : Rect{0, 0, source.Width(), source.Height() - maskOffset};
  Piece p = CommonPiece(target, targetRect, sourceRect, readable);
  if (p.Empty()) return;
  PixelFormat tf = target.Format();
  ptrdiff_t maskDistance = source.Stride() * maskOffset;
  ForEachPiecePixel(target, source, p, [&](uint8_t* t, const uint8_t* s, int x, int y) {
    if (background.Valid && HasKeyColour(s, source.Format(), clFuchsia)) {
      if (cornerMode) TakeBackground(t, tf, background, x, y);
    } else if (alphaSource) {
      MixByAlpha(t, ReadPixel(s, source.Format()), s[3]);
      if (tf == PixelFormat::pf32bit) t[3] = 255;
    } else {
      MaskPixel(t, tf, s, s + maskDistance);
    }
  });
}

void TPNGGraphic::Draw(Bitmap& surface, const Rect& rect) const {
  if (picture_.Empty() || rect.Empty()) return;
  if (picture_.Format() != PixelFormat::pf32bit) {
    StretchSmooth(surface, rect, picture_, picture_.Bounds());
    return;
  }
  int width = rect.Width(), height = rect.Height();
  Bitmap work(width, reflected_ ? height + height / 2 : height, PixelFormat::pf24bit);
  CopyPiece(work, 0, 0, surface, Rect::FromSize(rect.left, rect.top, work.Width(), work.Height()));
  Rect whole{0, 0, width, height};
  if (width == picture_.Width() && height == picture_.Height()) {
    DrawAlphaImage(work, whole, picture_, picture_.Bounds(), reflected_, 0, clNone, false, {});
  } else {
    // Colour and alpha are averaged separately, each channel on its own.
    Bitmap stretched(width, height, PixelFormat::pf32bit);
    StretchSmooth(stretched, whole, picture_, picture_.Bounds());
    DrawAlphaImage(work, whole, stretched, whole, reflected_, 0, clNone, false, {});
  }
  CopyPiece(surface, rect.left, rect.top, work, work.Bounds());
}
