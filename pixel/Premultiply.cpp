// See Premultiply.h.
#include "pixel/Premultiply.h"

void PremultiplyAlpha(Bitmap& picture) {
  if (picture.Format() != PixelFormat::pf32bit) return;
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 4) {
      unsigned a = p[3];
      // (c * a + 127) / 255 is c * a / 255 rounded to nearest (never an exact half).
      for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>((p[i] * a + 127) / 255);
    }
  }
}
