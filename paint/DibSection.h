// The platform's device-independent sections in the two painting formats, each wrapping its
// pixels as a Bitmap view so the platform-free painters work on them directly and the handle
// can be selected into a device context for block transfers and text output.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "pixel/Bitmap.h"

class DibSection {
 public:
  DibSection() = default;
  DibSection(DibSection&&) noexcept = default;
  DibSection& operator=(DibSection&&) noexcept = default;

  // Bottom-up sections, all bytes zero; an empty section when the size is not positive or the
  // platform refuses.
  static DibSection CreateBitmap24(int width, int height);
  static DibSection CreateBitmap32(int width, int height);
  // An 8-bit section with a grey palette (index = grey level), for masks.
  static DibSection CreateBitmap8(int width, int height);

  explicit operator bool() const { return static_cast<bool>(handle_); }
  HBITMAP Handle() const { return handle_.get(); }
  Bitmap& Pixels() { return view_; }  // valid while the section lives
  const Bitmap& Pixels() const { return view_; }

 private:
  static DibSection Create(int width, int height, PixelFormat format);

  UniqueBitmap handle_;
  Bitmap view_;  // a view of the section's bits
};
