// See ExtendedFrameGeometry.h.
#include "frame/ExtendedFrameGeometry.h"

#include <algorithm>

namespace frame_geometry {

bool CompactMaximized(bool maximized, bool extended, int titleHeight, int platformCaption) {
  return maximized && extended && SkinTitleBand(false, titleHeight, platformCaption) < platformCaption + 4;
}

int SkinTitleBand(bool compact, int titleHeight, int platformCaption) {
  const int band = titleHeight != 0 ? titleHeight : platformCaption;
  return compact ? std::max(band, platformCaption + 4) : band;
}

ExtendedFrameGeometry ComputeExtendedFrameGeometry(const ExtendedFrameInput& in) {
  ExtendedFrameGeometry g;
  const Rect& m = in.margins;
  // Without a caption neither the skin's title nor the platform's caption counts.
  g.compactMaximized = in.caption && CompactMaximized(in.maximized, true, in.titleHeight, in.platformCaption);
  const int title = in.caption ? SkinTitleBand(g.compactMaximized, in.titleHeight, in.platformCaption) : 0;
  const int platformCaption = in.caption ? in.platformCaption : 0;
  g.titleBand = title;
  g.extraSide = in.borderWidth - in.platformSide;
  g.extraTop = title - platformCaption - in.platformSide;
  // Compact, the frame also covers the form's own top frame.
  const int above = g.extraTop + (g.compactMaximized ? in.platformSide : 0);
  g.frame = {in.form.left - g.extraSide, in.form.top - above, in.form.right + g.extraSide, in.form.bottom + g.extraSide};
  g.imageWidth = g.frame.Width() + m.left + m.right;
  g.imageHeight = g.frame.Height() + m.top + m.bottom;
  g.frameInImage = {m.left, m.top, g.imageWidth - m.right, g.imageHeight - m.bottom};
  g.clientInImage = {m.left + in.borderWidth, m.top + title, g.imageWidth - m.right - in.borderWidth,
                     g.imageHeight - m.bottom - in.borderWidth};
  g.window = Rect::FromSize(g.frame.left - m.left, g.frame.top - m.top, g.imageWidth, g.imageHeight);
  const int w = in.form.Width(), h = in.form.Height();
  const int regionTop = g.compactMaximized ? in.platformSide + platformCaption - 4 : in.platformSide + platformCaption;
  g.formRegion = {in.platformSide, regionTop, w - in.platformSide, h - in.platformSide};
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
