// See vlDialogChildWnd.h.
#include "adapters/dialogs/vlDialogChildWnd.h"

#include <string>

#include "adapters/dialogs/vlDialogWnd.h"
#include "framework/Handles.h"
#include "paint/AnimationFlag.h"
#include "paint/BackgroundRef.h"
#include "paint/PieceCopy.h"
#include "paint/SkinPainters.h"
#include "paint/SkinTextWriter.h"
#include "paint/sCommonData.h"
#include "skin/sSkinManager.h"

TvlDlgChildWnd::TvlDlgChildWnd(HWND window, dialog_rules::ChildChoice choice, TvlDialogWnd* dialog)
    : TvlMainWnd(window, nullptr, choice.section, choice.section), choice_(choice), dialog_(dialog) {}

TvlDlgChildWnd::~TvlDlgChildWnd() { Detach(); }

TvlBtnWnd::TvlBtnWnd(HWND window, dialog_rules::ChildChoice choice, TvlDialogWnd* dialog)
    : TvlDlgChildWnd(window, choice, dialog) {}

TvlBtnWnd::~TvlBtnWnd() {
  HWND window = window_;
  bool alive = !Unhooked() && IsWindow(window);
  Detach();
  if (alive) InvalidateRect(window, nullptr, TRUE);
}

void TvlBtnWnd::Repaint() {
  // Under a running animation the screen is left alone: the dialog is redrawn when it ends.
  if (!IsWindowVisible(window_) || window_animation::Animating()) return;
  WindowDc dc(window_);
  if (dc.get()) Paint(dc.get());
}

void TvlBtnWnd::Paint(HDC dc) {
  TsSkinManager* manager = SkinManager();
  RECT c;
  GetClientRect(window_, &c);
  if (!manager || c.right <= 0 || c.bottom <= 0) return;
  DibSection picture = DibSection::CreateBitmap24(c.right, c.bottom);
  if (!picture) return;
  Bitmap& pixels = picture.Pixels();
  const LRESULT buttonState = SendMessageW(window_, BM_GETSTATE, 0, 0);
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  const int state = !enabled ? 0 : (buttonState & BST_PUSHED) ? 2 : hot_ ? 1 : 0;
  // The dialog's picture behind the button's corners.
  TsBackgroundRef behind = EmptyBackground();
  const Bitmap* frame = Dialog() ? Dialog()->FrameImage() : nullptr;
  Bitmap under;
  if (frame) {
    RECT r;
    GetWindowRect(window_, &r);
    RECT d;
    GetWindowRect(GetParent(window_), &d);
    under = Bitmap(c.right, c.bottom, frame->Format());
    CopyPiece(under, 0, 0, *frame, Rect::FromSize(r.left - d.left, r.top - d.top, c.right, c.bottom).Intersect(frame->Bounds()));
    behind = BackgroundFromBitmap(under, 0, 0);
  }
  PaintSection(*manager, SkinState().SectionIndex, SkinState().SkinSection(), behind, pixels, {0, 0}, pixels.Bounds(),
               state, true);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), picture.Handle());
  auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
  SelectedObject selectedFont(memory.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory.get(), TRANSPARENT);
  int length = GetWindowTextLengthW(window_);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), length + 1)));
  Rect textRect{0, 0, c.right, c.bottom};
  if (state == 2) textRect = textRect.Offset(1, 1);
  WriteSectionText(memory.get(), text, enabled, manager, state > 0, SkinState().SectionIndex,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE, textRect);
  if (GetFocus() == window_ && !(SendMessageW(window_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT focus{3, 3, c.right - 3, c.bottom - 3};
    DrawFocusRect(memory.get(), &focus);
  }
  GdiFlush();
  BitBlt(dc, 0, 0, c.right, c.bottom, memory.get(), 0, 0, SRCCOPY);
  ++paints_;
}

bool TvlBtnWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!SkinActive()) return TvlDlgChildWnd::WndProc(msg, wParam, lParam, result);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      if (!window_animation::Animating()) Paint(dc);
      EndPaint(window_, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
        Repaint();
      }
      return false;
    case WM_MOUSELEAVE:
      hot_ = false;
      Repaint();
      return false;
    // The platform's button draws itself at once on these; the skinned look is put back over it.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE: {
      HWND window = window_;
      result = CallOld(msg, wParam, lParam);
      if (msg == WM_SETTEXT) TvlDlgChildWnd::WndProc(msg, wParam, lParam, result);
      if (IsWindow(window) && !Unhooked()) Repaint();
      return true;
    }
    default: return TvlDlgChildWnd::WndProc(msg, wParam, lParam, result);
  }
}

std::unique_ptr<TvlMainWnd> MakeDialogChildAdapter(HWND window, const dialog_rules::ChildChoice& choice,
                                                   TvlDialogWnd* dialog) {
  using dialog_rules::ChildAdapter;
  switch (choice.adapter) {
    case ChildAdapter::None: return nullptr;
    case ChildAdapter::Button: return std::make_unique<TvlBtnWnd>(window, choice, dialog);
    default: return std::make_unique<TvlDlgChildWnd>(window, choice, dialog);
  }
}
