// Taking over a platform window's messages: one link in the platform's subclass chain
// (SetWindowSubclass), so that any number of parties join and leave a window in any order and
// none is cut out by another. The link is removed when this goes away or the window is
// destroyed, whichever comes first; the handler is never called after that.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

class WindowSubclass {
 public:
  // Answers true when it handled the message (result in `result`); false passes it on down the
  // chain.
  using Handler = std::function<bool(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  WindowSubclass() = default;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  ~WindowSubclass() { Remove(); }

  // Joins the chain of `window` (leaving the chain of a window joined before); false when the
  // platform refused.
  bool Install(HWND window, Handler handler);
  void Remove();
  HWND Window() const { return window_; }
  bool Installed() const { return window_ != nullptr; }
  // The rest of the chain below this link, for a handler that wants the default answer first.
  LRESULT CallNext(UINT msg, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

  HWND window_ = nullptr;  // borrowed: the window taken over
  Handler handler_;
};
