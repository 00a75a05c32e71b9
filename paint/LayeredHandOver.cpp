// See LayeredHandOver.h.
#include "paint/LayeredHandOver.h"

#include <cstring>

#include "framework/Handles.h"
#include "pixel/Premultiply.h"

DibSection PremultipliedSection(const Bitmap& picture) {
  DibSection section = DibSection::CreateBitmap32(picture.Width(), picture.Height());
  if (!section) return section;
  Bitmap& pixels = section.Pixels();
  if (picture.Format() == PixelFormat::pf32bit) {
    for (int y = 0; y < pixels.Height(); ++y)
      std::memcpy(pixels.Row(y), picture.Row(y), static_cast<size_t>(pixels.Width()) * 4);
  } else {
    for (int y = 0; y < pixels.Height(); ++y)
      for (int x = 0; x < pixels.Width(); ++x) pixels.SetPixel(x, y, picture.GetPixel(x, y) | 0xFF000000u);
  }
  PremultiplyAlpha(pixels);
  return section;
}

bool HandOverLayered(HWND window, const DibSection& premultiplied, Point screen, uint8_t alpha) {
  if (!window || !premultiplied) return false;
  WindowDc screenDc(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screenDc.get()));
  SelectedObject selected(memory.get(), premultiplied.Handle());
  POINT source{0, 0};
  POINT position{screen.x, screen.y};
  SIZE size{premultiplied.Pixels().Width(), premultiplied.Pixels().Height()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return UpdateLayeredWindow(window, screenDc.get(), &position, &size, memory.get(), &source, 0, &blend, ULW_ALPHA) !=
         FALSE;
}
