// See HintWindow.h.
#include "framework/HintWindow.h"

#include "framework/Graphics.h"
#include "framework/HintSchedule.h"
#include "framework/WindowClass.h"

namespace {
constexpr wchar_t kHintClass[] = L"BrenvaleHintWindow";
constexpr int kWidthLimit = 800;
constexpr UINT kFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
}  // namespace

LRESULT CALLBACK THintWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      if (auto* self = reinterpret_cast<THintWindow*>(GetWindowLongPtrW(window, 0))) {
        self->Paint(window);
        return 0;
      }
      break;
    default: break;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void THintWindow::Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  {
    UniqueBrush back(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &r, back.get());
  }
  FrameRect(dc, &r, GetSysColorBrush(COLOR_INFOTEXT));
  {
    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&r, -3, -2);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, kFormat);
  }
  EndPaint(window, &ps);
}

void THintWindow::Show(const std::wstring& hint, POINT cursor, POINT offset, const RECT& area, TColor color) {
  if (hint.empty()) {
    Hide();
    return;
  }
  hint_ = hint;
  text_ = hints::HintDisplayText(hint);
  color_ = color;
  if (!font_) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_.reset(CreateFontIndirectW(&metrics.lfStatusFont));  // the tooltip font
  }
  // The text's size within the width limit, with room for the border; 4 pixels taller.
  RECT measured{0, 0, kWidthLimit, 0};
  {
    WindowDc screen(nullptr);
    SelectedObject font(screen.get(), font_.get());
    DrawTextW(screen.get(), text_.c_str(), static_cast<int>(text_.size()), &measured, kFormat | DT_CALCRECT);
  }
  const int width = measured.right + 6, height = measured.bottom + 4 + 4;
  Point at = hints::PlaceHint({cursor.x, cursor.y}, width, height, {offset.x, offset.y},
                              {area.left, area.top, area.right, area.bottom});
  if (!window_) {
    RegisterWindowClassOnce(kHintClass, WindowProc, CS_SAVEBITS, sizeof(LONG_PTR));
    window_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kHintClass, L"", WS_POPUP, at.x,
                                  at.y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_) return;
    SetWindowLongPtrW(window_.get(), 0, reinterpret_cast<LONG_PTR>(this));
  }
  HWND window = window_.get();
  SetWindowTextW(window, hint_.c_str());  // readable by other programs and tests
  SetWindowPos(window, HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE);
  if (IsWindowVisible(window)) {
    InvalidateRect(window, nullptr, TRUE);
    return;
  }
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  if (hint_.size() < 100 && animation && fade && AnimateWindow(window, 200, AW_BLEND)) return;
  ShowWindow(window, SW_SHOWNOACTIVATE);
}

void THintWindow::Hide() {
  window_.reset();
  font_.reset();
}
