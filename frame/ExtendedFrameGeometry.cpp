// See ExtendedFrameGeometry.h.
#include "frame/ExtendedFrameGeometry.h"

namespace frame_geometry {

ExtendedFrameGeometry ComputeExtendedFrameGeometry(const ExtendedFrameInput& in) {
  ExtendedFrameGeometry g;
  const Rect& m = in.margins;
  // Without a caption neither the skin's title nor the platform's caption counts.
  const int title = in.caption ? in.titleHeight : 0;
  const int platformCaption = in.caption ? in.platformCaption : 0;
  g.extraSide = in.borderWidth - in.platformSide;
  g.extraTop = title - platformCaption - in.platformSide;
  g.frame = {in.form.left - g.extraSide, in.form.top - g.extraTop, in.form.right + g.extraSide,
             in.form.bottom + g.extraSide};
  g.imageWidth = g.frame.Width() + m.left + m.right;
  g.imageHeight = g.frame.Height() + m.top + m.bottom;
  g.frameInImage = {m.left, m.top, g.imageWidth - m.right, g.imageHeight - m.bottom};
  g.clientInImage = {m.left + in.borderWidth, m.top + title, g.imageWidth - m.right - in.borderWidth,
                     g.imageHeight - m.bottom - in.borderWidth};
  g.window = Rect::FromSize(g.frame.left - m.left, g.frame.top - m.top, g.imageWidth, g.imageHeight);
  const int w = in.form.Width(), h = in.form.Height();
  g.formRegion = {in.platformSide, in.platformSide + platformCaption, w - in.platformSide, h - in.platformSide};
  if (in.maximized) {
    // No shadow and no side or bottom frame: the client area reaches the work area's edges.
    g.window.bottom -= m.bottom + in.borderWidth;
    g.windowRegion = {in.borderWidth + m.left, m.top + 4, g.imageWidth - in.borderWidth - m.right,
                      g.imageHeight - in.borderWidth - m.bottom};
  }
  return g;
}

Rect ExtendedMaximizedForm(const Rect& work, int platformSide, int platformCaption, int bandHeight) {
  int top = work.top + bandHeight - platformCaption - platformSide;
  return {work.left - platformSide, top, work.right + platformSide, work.bottom + platformSide};
}

}  // namespace frame_geometry
