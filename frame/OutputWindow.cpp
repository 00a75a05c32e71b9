// See OutputWindow.h.
#include "frame/OutputWindow.h"

#include <algorithm>

#include "framework/WindowClass.h"

namespace {

Rect WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void CopyPixels(Bitmap& to, const Bitmap& from) {
  const int w = std::min(to.Width(), from.Width());
  const int h = std::min(to.Height(), from.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) to.SetPixel(x, y, from.GetPixel(x, y));
}

}  // namespace

TOutputWindow::TOutputWindow(HWND control) {
  if (!control || !IsWindow(control)) return;
  const Rect bounds = WindowRectOf(control);
  const int width = bounds.Width(), height = bounds.Height();
  if (width <= 0 || height <= 0) return;
  capture_ = DibSection::CreateBitmap24(width, height);
  shown_ = DibSection::CreateBitmap24(width, height);
  if (!capture_ || !shown_) return;
  {
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    SelectedObject selected(memory.get(), capture_.Handle());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), bounds.left, bounds.top, SRCCOPY);
    GdiFlush();
  }
  CopyPixels(shown_.Pixels(), capture_.Pixels());

  RegisterWindowClassOnce(kClassName, Procedure, 0, sizeof(LONG_PTR));
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const bool child = (GetWindowLongW(control, GWL_STYLE) & WS_CHILD) != 0 && GetParent(control);
  if (child) {
    HWND parent = GetParent(control);
    POINT at{bounds.left, bounds.top};
    ScreenToClient(parent, &at);
    window_.reset(CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, at.x, at.y, width, height, parent,
                                  nullptr, instance, nullptr));
  } else {
    window_.reset(CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, bounds.left,
                                  bounds.top, width, height, control, nullptr, instance, nullptr));
  }
  if (!window_) return;
  SetWindowLongPtrW(window_.get(), 0, reinterpret_cast<LONG_PTR>(this));
  if (child) {
    // Just above the control among its siblings.
    HWND above = GetWindow(control, GW_HWNDPREV);
    SetWindowPos(window_.get(), above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    SetWindowPos(window_.get(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  UpdateWindow(window_.get());
}

TOutputWindow::~TOutputWindow() {
  if (!window_) return;
  if (Alive()) {
    SetWindowLongPtrW(window_.get(), 0, 0);
    window_.reset();
  } else {
    window_.release();  // the platform removed it with its owner or parent
  }
}

bool TOutputWindow::Alive() const {
  return window_ && IsWindow(window_.get()) &&
         GetWindowLongPtrW(window_.get(), 0) == reinterpret_cast<LONG_PTR>(this);
}

void TOutputWindow::Show(const Bitmap& picture) {
  if (!shown_) return;
  CopyPixels(shown_.Pixels(), picture);
  if (!Alive()) return;
  WindowDc dc(window_.get());
  Paint(dc.get());
  GdiFlush();
}

void TOutputWindow::Hide() {
  if (Alive()) ShowWindow(window_.get(), SW_HIDE);
}

void TOutputWindow::Paint(HDC dc) const {
  if (!shown_) return;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), shown_.Handle());
  BitBlt(dc, 0, 0, shown_.Pixels().Width(), shown_.Pixels().Height(), memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK TOutputWindow::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TOutputWindow*>(GetWindowLongPtrW(window, 0));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc dc(window);
      if (self) self->Paint(dc.get());
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, msg, wParam, lParam);
  }
}
