// Temporary bitmaps of the painters, taken from a small pool and given back when they go out of
// scope. Allocating and clearing a new layer of megabytes for every repaint costs more than the
// painting itself (a fresh full-screen layer takes tens of milliseconds through the platform's
// heap), so layers reuse the memory of earlier ones. Plain C++.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pixel/Bitmap.h"

class ScratchBitmap {
 public:
  // A bitmap of that size and format, all bytes zero, with rows padded like owned bitmaps.
  ScratchBitmap(int width, int height, PixelFormat format);
  ScratchBitmap(const ScratchBitmap&) = delete;
  ScratchBitmap& operator=(const ScratchBitmap&) = delete;
  ~ScratchBitmap();

  Bitmap& Get() { return view_; }

 private:
  std::unique_ptr<std::vector<uint8_t>> memory_;  // owned while in use, then back in the pool
  Bitmap view_;                                   // a view of memory_
};
