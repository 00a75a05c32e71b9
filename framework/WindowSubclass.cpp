// See WindowSubclass.h.
#include "framework/WindowSubclass.h"

#include "framework/AppServices.h"

namespace {

// Removing the last link of a window's chain puts the window's original procedure back, even
// when another procedure was set on top of the chain since (Wine does that; the procedure on
// top is cut out). A link that leaves a living window first puts a pass-through anchor link in
// the chain, which stays until the window goes: the chain never becomes empty while the window
// lives. The anchor is not set before it is needed, because every link a message passes costs a
// look-up of the chain (a server round trip under Wine).
constexpr UINT_PTR kAnchorId = 0;

LRESULT CALLBACK AnchorProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, &AnchorProc, kAnchorId);
  return DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace

bool WindowSubclass::Install(HWND window, Handler handler) {
  Remove();
  if (!window || !IsWindow(window)) return false;
  handler_ = std::move(handler);
  // The link's identity is this object: two links of different objects never clash.
  if (!SetWindowSubclass(window, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = window;
  return true;
}

void WindowSubclass::Remove() {
  if (!window_) return;
  if (IsWindow(window_)) {
    // Setting the anchor again on a window that has it changes nothing.
    SetWindowSubclass(window_, &AnchorProc, kAnchorId, 0);
    RemoveWindowSubclass(window_, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this));
  }
  window_ = nullptr;
}

LRESULT WindowSubclass::CallNext(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return window_ ? DefSubclassProc(window_, msg, wParam, lParam) : 0;
}

LRESULT CALLBACK WindowSubclass::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<WindowSubclass*>(data);
  if (msg == WM_NCDESTROY) {
    // The window goes: the handler hears of it, and the link leaves the chain before the last
    // message goes on.
    LRESULT ignored = 0;
    try {
      if (self->handler_) self->handler_(window, msg, wParam, lParam, ignored);
    } catch (const std::exception& e) {
      HandleException(e);
    }
    RemoveWindowSubclass(window, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(self));
    self->window_ = nullptr;
    return DefSubclassProc(window, msg, wParam, lParam);
  }
  LRESULT result = 0;
  try {
    if (self->handler_ && self->handler_(window, msg, wParam, lParam, result)) return result;
  } catch (const std::exception& e) {
    HandleException(e);
    return 0;
  }
  return DefSubclassProc(window, msg, wParam, lParam);
}
