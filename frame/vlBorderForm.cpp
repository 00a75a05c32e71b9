// See vlBorderForm.h.
#include "frame/vlBorderForm.h"

#include <windowsx.h>

#include "frame/ExtendedFrameGeometry.h"
#include "framework/WindowClass.h"
#include "paint/LayeredHandOver.h"

namespace {

constexpr wchar_t kBorderClass[] = L"TvlBorderForm";
// The hit code that makes every mouse message inside the frame a non-client one; the platform
// does nothing of its own for it.
constexpr LRESULT kHitFrame = 19;
// Forwarded non-client messages carry this instead of a hit code.
constexpr WPARAM kFindHitCode = static_cast<WPARAM>(-1);
// Posted to itself when something other than the form's provider moved the border window in
// the z-order.
constexpr UINT kFollowForm = WM_APP + 0x2B;

void RegisterBorderClass() { RegisterWindowClassOnce(kBorderClass, DefWindowProcW, CS_DBLCLKS, sizeof(void*)); }

LPCWSTR CursorOf(int code) {
  switch (code) {
    case HTCAPTION:
    case HTMENU: return IDC_ARROW;
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return nullptr;
  }
}

}  // namespace

TvlBorderForm::TvlBorderForm(Served served) : served_(std::move(served)) {
  RegisterBorderClass();
  window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED, kBorderClass, L"", WS_POPUP, 0, 0,
                                0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) return;
  SetWindowLongPtrW(window_.get(), 0, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, -98);  // the skin library's own window
  SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TvlBorderForm::Proc));
}

TvlBorderForm::~TvlBorderForm() {
  if (window_) SetWindowLongPtrW(window_.get(), 0, 0);
}

LRESULT CALLBACK TvlBorderForm::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TvlBorderForm*>(GetWindowLongPtrW(window, 0));
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

UINT TvlBorderForm::PositionFlags() const {
  return SWP_NOACTIVATE;
}

void TvlBorderForm::Show(const Bitmap& picture, Point screen, const Rect& region, uint8_t alpha) {
  if (!window_ || picture.Empty()) return;
  DibSection premultiplied = PremultipliedSection(picture);
  if (!premultiplied) return;
  picture_ = std::move(premultiplied);
  // A new picture closes the hole; the region is set only when it changes.
  if (region != baseRegion_ || holeApplied_) {
    baseRegion_ = region;
    ApplyRegion(nullptr);
  }
  // The hand-over places the window too: the place is noted only when it went through.
  if (HandOverLayered(window_.get(), picture_, screen, alpha)) {
    ++handOvers_;
    position_ = screen;
  }
  if (!IsWindowVisible(window_.get()))
    SetWindowPos(window_.get(), nullptr, 0, 0, 0, 0, PositionFlags() | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  // Placed apart from the showing: a window that just appeared comes up on top.
  SetWindowPos(window_.get(), served_.form, 0, 0, 0, 0, PositionFlags() | SWP_NOMOVE | SWP_NOSIZE);
}

bool TvlBorderForm::RightBehindForm() const {
  return served_.form && GetWindow(served_.form, GW_HWNDNEXT) == window_.get();
}

void TvlBorderForm::Place(Point screen) {
  if (!window_) return;
  // Where it is already, and right behind the form: nothing to move.
  if (screen == position_ && Shown() && RightBehindForm()) return;
  position_ = screen;
  SetWindowPos(window_.get(), served_.form, screen.x, screen.y, 0, 0, PositionFlags() | SWP_NOSIZE | SWP_NOREDRAW);
}

void TvlBorderForm::FollowForm() {
  if (!window_ || !Shown()) return;
  // A top-most form takes its border window along.
  bool topmost = served_.form && (GetWindowLongW(served_.form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  bool mine = (GetWindowLongW(window_.get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (topmost != mine)
    SetWindowPos(window_.get(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 PositionFlags() | SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
  // Already right behind the form (the usual case once it has followed): nothing to move.
  if (RightBehindForm()) return;
  SetWindowPos(window_.get(), served_.form, 0, 0, 0, 0, PositionFlags() | SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
}

void TvlBorderForm::FollowFormLater() {
  if (window_) PostMessageW(window_.get(), kFollowForm, 0, 0);
}

void TvlBorderForm::Hide() {
  if (window_ && IsWindowVisible(window_.get())) ShowWindow(window_.get(), SW_HIDE);
}

bool TvlBorderForm::Shown() const { return window_ && IsWindowVisible(window_.get()); }

void TvlBorderForm::ApplyRegion(const Point* hole) {
  if (!window_) return;
  holeApplied_ = hole != nullptr;
  if (baseRegion_.Empty() && !hole) {
    SetWindowRgn(window_.get(), nullptr, FALSE);
    return;
  }
  const Bitmap& pixels = picture_.Pixels();
  Rect base = baseRegion_.Empty() ? pixels.Bounds() : baseRegion_;
  UniqueRegion region(CreateRectRgn(base.left, base.top, base.right, base.bottom));
  if (hole) {
    // Only this one pixel: the region is built from the base each time, never from itself.
    UniqueRegion pixel(CreateRectRgn(hole->x, hole->y, hole->x + 1, hole->y + 1));
    CombineRgn(region.get(), region.get(), pixel.get(), RGN_XOR);
  }
  if (SetWindowRgn(window_.get(), region.get(), FALSE)) region.release();  // the window's from now on
}

void TvlBorderForm::PassThrough(UINT msg, WPARAM wParam, LPARAM lParam) {
  passingThrough_ = true;
  if (served_.overShadow) served_.overShadow();
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (msg != WM_MOUSEWHEEL) ClientToScreen(window_.get(), &screen);
  Point local{screen.x - position_.x, screen.y - position_.y};
  ApplyRegion(&local);
  HWND below = WindowFromPoint(screen);
  if (below && below != window_.get() && below != served_.form) {
    POINT at = screen;
    if (msg != WM_MOUSEWHEEL) ScreenToClient(below, &at);
    // Posted: a window of another program that does not answer cannot hold this one up.
    PostMessageW(below, msg, wParam, msg == WM_MOUSEWHEEL ? lParam : MAKELPARAM(at.x, at.y));
  }
  passingThrough_ = false;
}

LRESULT TvlBorderForm::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  switch (msg) {
    case WM_NCHITTEST: {
      int code = served_.hitTest ? served_.hitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) : frame_geometry::kHitShadow;
      return code == frame_geometry::kHitShadow ? HTCLIENT : kHitFrame;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      // Raised by the platform (a window that appears or gets its picture comes up on top):
      // back behind the form, once the platform has finished with it.
      if (!(pos->flags & SWP_NOZORDER) && served_.form && GetWindow(served_.form, GW_HWNDNEXT) != window &&
          (pos->flags & SWP_SHOWWINDOW || IsWindowVisible(window)))
        PostMessageW(window, kFollowForm, 0, 0);
      break;
    }
    case kFollowForm:
      FollowForm();
      return 0;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return 0;
    case WM_PAINT:
      ValidateRect(window, nullptr);
      return 0;
    case WM_MOUSEACTIVATE:
      if (served_.form) SetForegroundWindow(served_.form);
      return MA_NOACTIVATE;
    case WM_SETCURSOR: {
      POINT cursor;
      GetCursorPos(&cursor);
      int code = served_.hitTest ? served_.hitTest({cursor.x, cursor.y}) : frame_geometry::kHitShadow;
      if (code != frame_geometry::kHitShadow) {
        if (LPCWSTR cursorName = CursorOf(code)) {
          SetCursor(LoadCursorW(nullptr, cursorName));
          return TRUE;
        }
      }
      break;
    }
    case WM_NCMOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, window, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      if (served_.form) SendMessageW(served_.form, msg, kFindHitCode, lParam);
      return 0;
    case WM_NCMOUSELEAVE:
      trackingLeave_ = false;
      if (served_.form) SendMessageW(served_.form, msg, 0, 0);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      // Non-client messages carry screen coordinates: the form's own, as they are.
      if (served_.form) SendMessageW(served_.form, msg, kFindHitCode, lParam);
      return 0;
    default:
      if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL && !passingThrough_) {
        PassThrough(msg, wParam, lParam);
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}
