// Drives the real Brenvale.exe from another process: starts it in a folder, finds its windows,
// reads list rows through memory in the program's process, and gives it real mouse input.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Handles.h"

namespace e2e {

// The folder this test program was started from (Brenvale.exe lies beside it).
std::wstring ProgramFolder();
// A visible top-level window of a process with that window class, or nullptr.
HWND FindTopLevelWindow(DWORD processId, const wchar_t* className);

class RemoteApp {
 public:
  // Starts Brenvale.exe with `folder` as its current directory and waits for its main window.
  explicit RemoteApp(const std::wstring& folder, const std::wstring& extraEnvironment = L"");
  RemoteApp(const RemoteApp&) = delete;
  RemoteApp& operator=(const RemoteApp&) = delete;
  ~RemoteApp();

  bool Started() const { return mainWindow_ != nullptr; }
  HWND MainWindow() const { return mainWindow_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  // A child window by class name and (optional) text; `index` counts matches left to right.
  HWND Child(const wchar_t* className, const wchar_t* text = nullptr, int index = 0) const;
  HWND ListOn() const { return Child(L"TOvFilelistView28", nullptr, 0); }
  HWND ListOff() const { return Child(L"TOvFilelistView28", nullptr, 1); }
  HWND Button(const wchar_t* caption) const { return Child(L"TsButton", caption); }

  std::vector<std::wstring> Rows(HWND list) const;
  // Clicks the row showing `caption`; false when there is none.
  bool ClickRow(HWND list, const std::wstring& caption) const;
  void ClickCentre(HWND window) const;
  // Clicks the selected item of a tree view of the program; false when it has none.
  bool ClickSelectedTreeItem(HWND tree) const;
  void ClickClientPoint(HWND window, int x, int y) const;

  // The message box the program shows (waited for up to `milliseconds`), or nullptr.
  HWND WaitForMessageBox(int milliseconds = 5000) const;
  // The text of a message box.
  static std::wstring MessageBoxText(HWND box);
  // Answers a message box with its OK button and waits until it is gone.
  static bool CloseMessageBox(HWND box);

  // Asks the window to close and waits for the process to end; its exit code, or -1.
  int Close();

 private:
  RECT ItemRect(HWND list, int item) const;

  PROCESS_INFORMATION process_{};
  UniqueKernelHandle processHandle_;
  UniqueKernelHandle threadHandle_;
  HWND mainWindow_ = nullptr;  // borrowed: the program's window
};

// Real keyboard input to whatever window has the focus: a key pressed and released, or text
// typed character by character.
void PressKey(WORD key);
void TypeText(const std::wstring& text);

// Waits until `condition` holds (checked every 50 ms) or `milliseconds` pass.
template <class Condition>
bool WaitFor(Condition condition, int milliseconds = 5000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

}  // namespace e2e
