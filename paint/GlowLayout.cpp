// See GlowLayout.h.
#include "paint/GlowLayout.h"

GlowPlacement PlaceGlow(const Rect& control, const Rect& visible, const Rect& itemMargins, int margin) {
  GlowPlacement p;
  int w = control.Width(), h = control.Height();
  p.FullWidth = w + itemMargins.left + itemMargins.right - 2 * margin;
  p.FullHeight = h + itemMargins.top + itemMargins.bottom - 2 * margin;
  int width = p.FullWidth, height = p.FullHeight;
  int left = 0, top = 0;
  if (visible.Width() != w || visible.Height() != h) {
    // Cut the glow where the control is cut off, so it never shows over what hides the control.
    left = visible.left != 0 ? itemMargins.left + visible.left - margin : 0;
    top = visible.top != 0 ? itemMargins.top + visible.top - margin : 0;
    int right = visible.right == w ? 0
                : left != 0    ? width - left - visible.Width()
                               : w + itemMargins.right - visible.Width() - margin;
    int bottom = visible.bottom == h ? 0
                 : top != 0      ? height - top - visible.Height()
                                 : h + itemMargins.bottom - visible.Height() - margin;
    width -= left + right;
    height -= top + bottom;
  }
  p.Crop = {left, top};
  int x = control.left + left + margin - itemMargins.left;
  int y = control.top + top + margin - itemMargins.top;
  p.Window = Rect::FromSize(x, y, width, height);
  return p;
}
