// Helpers of the window tests: temporary folders of files, message pumping, and the texts the
// error display recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

std::vector<std::wstring>& RecordedErrors();

// Handles waiting messages for about `milliseconds`.
void Pump(int milliseconds = 50);

// Runs `input` on a thread of its own while this thread handles messages: the platform's move,
// size and menu loops run inside message handling and wait for input that this thread could
// not send meanwhile. `owner` (if any) gets WM_CANCELMODE afterwards, and a menu left open is
// closed with Escape.
void WhilePumping(const std::function<void()>& input, HWND owner = nullptr);

// A new empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  // Under the temporary folder, or under `base` when given.
  explicit TempFolder(const std::wstring& base = L"");
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  std::wstring File(const std::wstring& name) const { return path_ + name; }
  // Creates a file with the given content (and attributes, when not 0).
  void Create(const std::wstring& name, const std::string& content = "x", DWORD attributes = 0) const;
  bool Exists(const std::wstring& name) const;
  // The names in the folder, sorted, without "." and "..".
  std::vector<std::wstring> Names() const;
  // Creates nested folders in this one until the path is at least `length` characters long;
  // the deepest one's path (with a trailing backslash), or empty when one cannot be created.
  std::wstring CreateDeepFolder(size_t length) const;

 private:
  std::wstring path_;
};

// Sets the process's current directory for the scope.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::wstring& path);
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;
  ~CurrentDirectoryScope();

 private:
  std::wstring previous_;
};

}  // namespace wintest

namespace wintest {

// One mouse event through SendInput; with MOUSEEVENTF_ABSOLUTE, (x, y) is a screen point.
void SendMouse(DWORD flags, int screenX = 0, int screenY = 0);
// Real mouse input: moves the cursor to a point of a window's client area and clicks there
// (SendInput), then handles the messages that follow.
void ClickAt(HWND window, int x, int y, bool doubleClick = false);
// Real keyboard input: presses and releases a key (with Shift/Ctrl held when asked).
void PressKey(WORD key, bool shift = false, bool ctrl = false);
// The text of a list view row or column, read through the control.
std::wstring ListItemText(HWND list, int item, int column = 0);
// The centre of a list view row in client coordinates.
POINT ListItemCentre(HWND list, int item);
// The row index whose text (column 0) equals `text`, or -1.
int FindListItem(HWND list, const std::wstring& text);
// For screenshots by hand: with BRENVALE_SCREENSHOT_HOLD set to a number of milliseconds, prints
// "screenshot hold: <what>" and waits that long (from an input thread: the windows keep working).
// Does nothing otherwise.
void HoldForScreenshot(const char* what);

}  // namespace wintest

#include <memory>

namespace wintest {

// Answers the next dialog box (class "#32770") that this process shows within `milliseconds`
// by pressing `button` (IDYES, IDNO, IDOK ...), from a thread of its own: for the shell's boxes,
// which the program under test does not show through its own message functions. With `boxes`
// above 1, answers that many boxes one after the other (each once the one before is gone), as
// long as they come within the time.
class DialogAnswer {
 public:
  struct State;
  explicit DialogAnswer(int button, int milliseconds = 5000, int boxes = 1);
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;
  ~DialogAnswer();
  // Waits for the answers; whether a box was answered.
  bool Answered();
  // Waits for the answers; how many boxes were answered.
  int AnsweredCount();

 private:
  std::unique_ptr<State> state_;  // shared with the thread until it ends
};

}  // namespace wintest

namespace wintest {

// Points this program's import of `function` from the system library `module` at `replacement`
// for the scope (the import table entry is rewritten and put back), so that a test can see the
// calls that the code under test makes to the platform. Active() tells whether the import was
// found; Original() is the platform's function.
class ImportHook {
 public:
  ImportHook(const wchar_t* module, const char* function, void* replacement);
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;
  ~ImportHook();
  bool Active() const { return !slots_.empty(); }
  void* Original() const { return original_; }

 private:
  std::vector<void**> slots_;
  void* original_ = nullptr;
};

}  // namespace wintest
