// See DisabledLook.h.
#include "paint/DisabledLook.h"

#include "pixel/BitmapBlend.h"
#include "paint/PieceCopy.h"

void ApplyDisabledLook(Bitmap& picture, unsigned flags, TColor parentColor, Point offset, const TsBackgroundRef& background) {
  if (flags & dlGrey) Grayscale(picture);
  if (!(flags & dlBlended)) return;
  if (background.Valid && background.Bitmap) {
    Rect behind = Rect::FromSize(background.X + offset.x, background.Y + offset.y, picture.Width(), picture.Height());
    MixPiece(picture, 0, 0, *background.Bitmap, behind, 0xFFFFFFFFu, 0.4);  // no key: every pixel mixes
  } else {
    FadeToColor(picture, picture.Bounds(), 50, background.FillColor == clFuchsia ? parentColor : background.FillColor);
  }
}
