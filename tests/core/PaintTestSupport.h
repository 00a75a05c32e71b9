// Small fixtures of the painter tests: solid bitmaps, grey values and a hand-made skin with a
// tiny master bitmap.
#pragma once

#include <cstdint>
#include <string>

#include "pixel/Bitmap.h"
#include "skin/LoadedSkin.h"

namespace painttest {

// 0x00vvvvvv.
constexpr uint32_t Grey(int v) { return static_cast<uint32_t>(v) * 0x010101u; }

// A bitmap with every pixel `value` (0xAABBGGRR; 24-bit bitmaps take the colour only).
inline Bitmap Solid(int width, int height, PixelFormat format, uint32_t value) {
  Bitmap b(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, value);
  return b;
}

// An image item cut from the master bitmap.
inline TsMaskData Item(Rect r, int imageCount, int maskType, int wl = 0, int wt = 0, int wr = 0, int wb = 0,
                       int stretchMode = 0, TvlImgType type = TvlImgType::itisaBorder) {
  TsMaskData item;
  item.R = r;
  item.ImageCount = static_cast<int16_t>(imageCount);
  item.MaskType = static_cast<int16_t>(maskType);
  item.WL = static_cast<int16_t>(wl);
  item.WT = static_cast<int16_t>(wt);
  item.WR = static_cast<int16_t>(wr);
  item.WB = static_cast<int16_t>(wb);
  item.StretchMode = static_cast<int16_t>(stretchMode);
  item.ImgType = type;
  return item;
}

}  // namespace painttest
