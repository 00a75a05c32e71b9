// An off-screen picture a window paints into before one block transfer to the screen. Its
// 32-bit section is kept from paint to paint and grows with the window, so that a paint makes
// no bitmap of its own, and what is drawn into it lands on a section rather than on a bitmap of
// the display's format (the platform checks such a bitmap against the display each time one is
// selected, and a painted row of icons selects one per icon).
#pragma once

#include <windows.h>

#include "framework/Handles.h"

class PaintBuffer {
 public:
  PaintBuffer() = default;
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;
  ~PaintBuffer();

  // A memory device context at least `width` x `height`, unclipped; nullptr when the size is
  // not positive or the platform refuses. Valid until the next call or the buffer's end; the
  // caller keeps the context's state (SavedDcState) if it changes it.
  HDC Prepare(int width, int height);
  // Copies `area` of the picture to the same place on `target`.
  void CopyTo(HDC target, const RECT& area) const;

 private:
  void Release();

  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ original_ = nullptr;  // borrowed: the context's own bitmap, selected back before ours goes
  int width_ = 0;
  int height_ = 0;
};
