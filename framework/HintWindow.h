// THintWindow: a top-most, non-activating pop-up that shows a hint in the platform's tooltip
// font on a given colour, lines split at "\r". The window and its font exist only while the hint
// shows. The application's hint and the skinned frame's title buttons show theirs in one.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Color.h"
#include "framework/Handles.h"

class THintWindow {
 public:
  THintWindow() = default;
  THintWindow(const THintWindow&) = delete;
  THintWindow& operator=(const THintWindow&) = delete;

  // Shows `hint` with its top-left corner `offset` from `cursor` (screen), moved back inside
  // `area`; an empty hint hides the window. A window that shows already is moved and redrawn.
  void Show(const std::wstring& hint, POINT cursor, POINT offset, const RECT& area, TColor color = clInfoBk);
  void Hide();
  HWND Handle() const { return window_.get(); }
  bool Showing() const { return window_ && IsWindowVisible(window_.get()); }
  // The hint as given to Show.
  const std::wstring& Hint() const { return hint_; }
  TColor Color() const { return color_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window);

  std::wstring hint_;
  std::wstring text_;  // the hint with its line breaks as drawn
  TColor color_ = clInfoBk;
  UniqueFont font_;      // before the window that paints with it
  UniqueWindow window_;
};
