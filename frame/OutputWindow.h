// TOutputWindow: the cover an animation shows its frames in where a layered window cannot be
// used (a platform without layered windows, or a control that is not a top-level form). It
// keeps a picture of what the screen showed under the control when it was made, lies exactly
// over the control (a child of the control's parent just above the control, or, for a control
// without parent, a pop-up owned by the control at its screen rectangle, so that it goes with
// the control), and shows whatever picture it was given last, also when it is repainted.
#pragma once

#include <windows.h>

#include "framework/Geometry.h"
#include "framework/Handles.h"
#include "paint/DibSection.h"
#include "pixel/Bitmap.h"

class TOutputWindow {
 public:
  static constexpr wchar_t kClassName[] = L"vlOutputWindow";

  // Captures the screen under `control` (its window rectangle) and shows the cover without
  // activating it; it shows the capture until it is given a picture.
  explicit TOutputWindow(HWND control);
  ~TOutputWindow();
  TOutputWindow(const TOutputWindow&) = delete;
  TOutputWindow& operator=(const TOutputWindow&) = delete;

  // False when the window or the capture could not be made.
  explicit operator bool() const { return window_ && capture_; }
  HWND Handle() const { return window_.get(); }
  // Still on the screen (not destroyed with the control or its parent).
  bool Alive() const;
  // The screen under the control at the start (24-bit, the control's size).
  const Bitmap& Capture() const { return capture_.Pixels(); }
  // Shows `picture` (24- or 32-bit, the control's size) at once and keeps it for repaints.
  void Show(const Bitmap& picture);
  void Hide();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;

  DibSection capture_;
  DibSection shown_;  // what the window shows: the capture, then the frames
  UniqueWindow window_;
};
