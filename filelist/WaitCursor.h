// WaitCursor: the hourglass for the life of a scope, then the cursor shown before. The file
// list and the directory trees show it while they read folders or run file operations.
#pragma once

#include <windows.h>

class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { ::SetCursor(previous_); }

 private:
  HCURSOR previous_;  // borrowed: a shared cursor
};
