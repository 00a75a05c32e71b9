// See vlScrollWnd.h.
#include "adapters/vlScrollWnd.h"

#include <algorithm>

#include "framework/Control.h"
#include "framework/Handles.h"
#include "paint/AnimationFlag.h"
#include "paint/BackgroundExchange.h"
#include "paint/DibSection.h"
#include "paint/ImageItems.h"
#include "paint/SkinPainters.h"
#include "paint/sCommonData.h"
#include "pixel/BitmapBlend.h"
#include "skin/CommonIndexes.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

using namespace scroll_geometry;

namespace {

bool Vertical(int kind) { return kind == TvlScrollBar::kVertical; }

// Copies a w x h block between bitmaps of any of the painting formats, clipped to both.
void CopyBlock(const Bitmap& from, int fromX, int fromY, Bitmap& to, int toX, int toY, int w, int h) {
  for (int y = 0; y < h; ++y) {
    int sy = fromY + y, ty = toY + y;
    if (sy < 0 || ty < 0 || sy >= from.Height() || ty >= to.Height()) continue;
    for (int x = 0; x < w; ++x) {
      int sx = fromX + x, tx = toX + x;
      if (sx < 0 || tx < 0 || sx >= from.Width() || tx >= to.Width()) continue;
      to.SetPixel(tx, ty, from.GetPixel(sx, sy) & 0xFFFFFF);
    }
  }
}

// Paints section `name` over `piece` of `target`; `under` is what shows through, with the
// target's origin at `origin` inside it.
void PaintPiece(const TsSkinManager& manager, const char* name, const Bitmap& under, Point origin, Bitmap& target,
                const Rect& piece, int state, bool withGlyph) {
  if (piece.Width() <= 0 || piece.Height() <= 0) return;
  int section = manager.SectionIndexOf(name);
  Bitmap part(piece.Width(), piece.Height(), PixelFormat::pf24bit);
  CopyBlock(under, origin.x + piece.left, origin.y + piece.top, part, 0, 0, piece.Width(), piece.Height());
  if (manager.IsValidSection(section)) {
    PaintSection(manager, section, name, BackgroundFromBitmap(under, 0, 0), part,
                 {origin.x + piece.left, origin.y + piece.top}, part.Bounds(), state, true);
    if (withGlyph) {
      int glyph = manager.ImageItemIndexOf(section, name, "GLYPHMASK");
      if (manager.IsValidItem(glyph)) {
        Point size = manager.Skin().ItemSize(glyph);
        Point at{(part.Width() - size.x) / 2, (part.Height() - size.y) / 2};
        PaintGlyphItem(&manager.Skin(), part, at, state, EmptyBackground(),
                       manager.Skin().Items[static_cast<size_t>(glyph)], 1);
      }
    }
  }
  CopyBlock(part, 0, 0, target, piece.left, piece.top, piece.Width(), piece.Height());
}

// Along-the-bar and across-the-bar pieces of a bar rectangle (bar coordinates).
Rect Piece(int kind, const Rect& bar, int from, int to) {
  return Vertical(kind) ? Rect{0, from, bar.Width(), to} : Rect{from, 0, to, bar.Height()};
}

}  // namespace

// ---------------------------------------------------------------------------------------------

ScrollValues TvlScrollBar::Values() const {
  return {info_.nMin, info_.nMax, info_.nPage, info_.nPos};
}

bool TvlScrollBar::Refresh() {
  SCROLLINFO fresh{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(owner_.WindowHandle(), Vertical(kind_) ? SB_VERT : SB_HORZ, &fresh)) {
    fresh = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  }
  bool changed = fresh.nMin != info_.nMin || fresh.nMax != info_.nMax || fresh.nPage != info_.nPage ||
                 fresh.nPos != info_.nPos;
  info_ = fresh;
  return changed;
}

// ---------------------------------------------------------------------------------------------

TvlScrollWnd::TvlScrollWnd(HWND window, TsCommonData* skinState, const std::string& section, const char* defaultSection)
    : TvlMainWnd(window, skinState, section, defaultSection),
      bars_{TvlScrollBar(*this, TvlScrollBar::kHorizontal), TvlScrollBar(*this, TvlScrollBar::kVertical)} {
  for (TvlScrollBar& bar : bars_) bar.Refresh();
}

TvlScrollWnd::~TvlScrollWnd() {
  if (IsWindow(window_)) {
    if (repeatTimer_) KillTimer(window_, repeatTimer_);
    if (hotTimer_) KillTimer(window_, kHotTimer);
    if (pressedPart_ >= 0 && GetCapture() == window_) {
      pressedPart_ = -1;
      ReleaseCapture();
    }
  }
  Detach();
}

int TvlScrollWnd::BarMetric(int kind, int which) const {
  const TvlScrollBar& bar = Bar(kind);
  if (which == 1) {
    if (bar.Thickness >= 0) return bar.Thickness;
    return GetSystemMetrics(Vertical(kind) ? SM_CXVSCROLL : SM_CYHSCROLL);
  }
  if (bar.ArrowLength >= 0) return bar.ArrowLength;
  int length = GetSystemMetrics(Vertical(kind) ? SM_CYVSCROLL : SM_CXHSCROLL);
  // An arrow section that asks for it is at least as long as its border picture.
  TsSkinManager* manager = SkinManager();
  if (manager && manager->Active()) {
    const char* name = Vertical(kind) ? "SCROLLBTNTOP" : "SCROLLBTNLEFT";
    int section = manager->SectionIndexOf(name);
    if (manager->IsValidSection(section)) {
      const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(section)];
      if (s.ReservedBoolean && manager->IsValidItem(s.BorderIndex)) {
        Point size = manager->Skin().ItemSize(s.BorderIndex);
        length = std::max(length, Vertical(kind) ? size.y : size.x);
      }
    }
  }
  return length;
}

Rect TvlScrollWnd::WindowRectangle() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

Rect TvlScrollWnd::BarRect(int kind) const {
  if (!Bar(kind).Shown) return {};
  Rect w = WindowRectangle();
  Rect inner{edges_.left, edges_.top, w.right - edges_.right, w.bottom - edges_.bottom};
  const TvlScrollBar& other = Bar(1 - kind);
  if (Vertical(kind)) {
    int thick = BarMetric(kind, 1);
    int bottom = inner.bottom - (other.Shown ? BarMetric(other.Kind(), 1) : 0);
    return barsOnLeft_ ? Rect{inner.left, inner.top, inner.left + thick, bottom}
                       : Rect{inner.right - thick, inner.top, inner.right, bottom};
  }
  int thick = BarMetric(kind, 1);
  int side = other.Shown ? BarMetric(other.Kind(), 1) : 0;
  return barsOnLeft_ ? Rect{inner.left + side, inner.bottom - thick, inner.right, inner.bottom}
                     : Rect{inner.left, inner.bottom - thick, inner.right - side, inner.bottom};
}

Rect TvlScrollWnd::CornerRect() const {
  if (!HorzBar().Shown || !VertBar().Shown) return {};
  Rect v = BarRect(TvlScrollBar::kVertical);
  Rect h = BarRect(TvlScrollBar::kHorizontal);
  return {v.left, h.top, v.right, h.bottom};
}

RECT TvlScrollWnd::ToScreen(const Rect& rect) const {
  RECT w{};
  GetWindowRect(window_, &w);
  return {w.left + rect.left, w.top + rect.top, w.left + rect.right, w.top + rect.bottom};
}

BarLayout TvlScrollWnd::Layout(int kind) const {
  Rect r = BarRect(kind);
  const TvlScrollBar& bar = Bar(kind);
  BarLayout layout = LayoutBar(Vertical(kind) ? r.Height() : r.Width(), BarMetric(kind, 0), bar.Values(),
                               bar.MinThumbSize);
  if (draggingThumb_ && pressedBar_ == kind) {
    layout = dragLayout_;
    layout.thumbStart = dragThumbStart_;
  }
  return layout;
}

bool TvlScrollWnd::BarEnabled(int kind) const {
  const TvlScrollBar& bar = Bar(kind);
  if (!bar.Shown || !IsWindowEnabled(window_)) return false;
  SCROLLBARINFO info{sizeof(SCROLLBARINFO)};
  if (GetScrollBarInfo(window_, Vertical(kind) ? OBJID_VSCROLL : OBJID_HSCROLL, &info) &&
      (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE))
    return false;
  if ((bar.Flags & (TvlScrollBar::kFirstArrowDisabled | TvlScrollBar::kSecondArrowDisabled)) ==
      (TvlScrollBar::kFirstArrowDisabled | TvlScrollBar::kSecondArrowDisabled))
    return false;
  ScrollValues v = bar.Values();
  if (bar.Flags & TvlScrollBar::kNeedsUsableRange) return v.min < v.max && v.max >= static_cast<int>(v.page) && v.max != 0;
  return UsableRange(RangeOf(v)) && RangeOf(v) > 0;
}

bool TvlScrollWnd::CornerIsGrip() const {
  if (!HorzBar().Shown || !VertBar().Shown) return false;
  HWND parent = GetParent(window_);
  if (!parent || (GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD) == 0) return false;
  if (GetAncestor(parent, GA_ROOT) != parent) return false;
  if ((GetWindowLongPtrW(parent, GWL_STYLE) & WS_THICKFRAME) == 0 || IsZoomed(parent)) return false;
  RECT client{};
  GetClientRect(parent, &client);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT corner = ToScreen(CornerRect());
  return corner.bottom == client.bottom && (barsOnLeft_ ? corner.left == client.left : corner.right == client.right);
}

void TvlScrollWnd::RefreshScrollInfo(bool repaint) {
  bool changed = false;
  for (TvlScrollBar& bar : bars_) changed = bar.Refresh() || changed;
  if (repaint || changed) PaintScrollBars();
}

int TvlScrollWnd::BarAtScreenPoint(POINT screen) const {
  for (int kind : {TvlScrollBar::kVertical, TvlScrollBar::kHorizontal}) {
    RECT r = ToScreen(BarRect(kind));
    if (Bar(kind).Shown && PtInRect(&r, screen)) return kind;
  }
  return -1;
}

int TvlScrollWnd::PartAtScreenPoint(int kind, POINT screen) const {
  RECT r = ToScreen(BarRect(kind));
  if (!Bar(kind).Shown) return spNone;
  bool across = Vertical(kind) ? (screen.x >= r.left && screen.x < r.right) : (screen.y >= r.top && screen.y < r.bottom);
  if (!across) return spNone;
  BarLayout layout = Layout(kind);
  return PartAt(layout, Vertical(kind) ? screen.y - r.top : screen.x - r.left);
}

// ---------------------------------------------------------------------------------------------
// Messages

bool TvlScrollWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_NCCALCSIZE:
      OnNcCalcSize(wParam, lParam, result);
      return true;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      // Our own style change around the frame computation is nobody else's business.
      if (inCalcSize_) {
        result = 0;
        return true;
      }
      break;
    case WM_NCHITTEST:
      if (OnNcHitTest(lParam, result)) return true;
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        OnNcButtonDown(wParam, lParam);
        result = 0;
        return true;
      }
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        result = 0;
        return true;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_VSCROLL || (wParam & 0xFFF0) == SC_HSCROLL) {
        result = 0;
        return true;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) OnNcMouseMove(wParam);
      break;
    case WM_MOUSEMOVE:
      if (pressedPart_ >= 0) {
        OnMouseMoveWhilePressed();
        result = 0;
        return true;
      }
      break;
    case WM_LBUTTONUP:
      if (pressedPart_ >= 0) OnButtonUp();
      break;
    case WM_CAPTURECHANGED:
      if (pressedPart_ >= 0 && reinterpret_cast<HWND>(lParam) != window_) EndPress(false);
      break;
    case WM_TIMER:
      if (wParam == kHotTimer || wParam == kRepeatDelayTimer || wParam == kRepeatTimer) {
        OnTimer(wParam);
        result = 0;
        return true;
      }
      break;
    case WM_NCPAINT:
      // Under a running animation the platform's frame stays unpainted as well; the window is
      // redrawn with its frame when the animation ends.
      result = window_animation::Animating() ? 0 : CallOld(msg, wParam, lParam);
      PaintScrollBars();
      return true;
    case WM_SETREDRAW:
      // While drawing was off the platform changed the bars unseen; who turns it on again
      // repaints the client only.
      result = CallOld(msg, wParam, lParam);
      if (wParam) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return true;
    case WM_NCDESTROY:
      return TvlMainWnd::WndProc(msg, wParam, lParam, result);
    default:
      break;
  }
  if (TvlMainWnd::WndProc(msg, wParam, lParam, result)) return true;
  result = CallOld(msg, wParam, lParam);
  // Whatever the window did may have moved its scroll state, and the platform draws its own bar
  // over ours when that happens: draw ours again.
  if (!inCalcSize_ && !Detaching() && !Unhooked()) {
    bool changed = false;
    for (TvlScrollBar& bar : bars_) changed = bar.Refresh() || changed;
    if (changed) PaintScrollBars();
  }
  return true;
}

void TvlScrollWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  RECT proposed = *rect;
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  bool wantH = (style & WS_HSCROLL) != 0, wantV = (style & WS_VSCROLL) != 0;
  if (wantH || wantV) {
    // Without the scroll styles the platform neither reserves room for its bars nor draws them.
    inCalcSize_ = true;
    SetWindowLongPtrW(window_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
    result = CallOld(WM_NCCALCSIZE, wParam, lParam);
    SetWindowLongPtrW(window_, GWL_STYLE, style);
    inCalcSize_ = false;
  } else {
    result = CallOld(WM_NCCALCSIZE, wParam, lParam);
  }
  edges_ = {rect->left - proposed.left, rect->top - proposed.top, proposed.right - rect->right,
            proposed.bottom - rect->bottom};
  barsOnLeft_ = (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  TvlScrollBar& h = Bar(TvlScrollBar::kHorizontal);
  TvlScrollBar& v = Bar(TvlScrollBar::kVertical);
  h.Flags = (h.Flags & ~TvlScrollBar::kStyleAsks) | (wantH ? TvlScrollBar::kStyleAsks : 0);
  v.Flags = (v.Flags & ~TvlScrollBar::kStyleAsks) | (wantV ? TvlScrollBar::kStyleAsks : 0);
  int thickH = BarMetric(TvlScrollBar::kHorizontal, 1);
  h.Shown = wantH && rect->bottom - rect->top >= thickH;
  if (h.Shown) rect->bottom -= thickH;
  int thickV = BarMetric(TvlScrollBar::kVertical, 1);
  v.Shown = wantV && rect->right - rect->left >= thickV;
  if (v.Shown) {
    if (barsOnLeft_) rect->left += thickV;
    else rect->right -= thickV;
  }
  // The scroll state is not re-read here: the platform may be about to draw its own bar for a
  // change it is making, and the change seen after the message is what makes ours cover it.
}

bool TvlScrollWnd::OnNcHitTest(LPARAM lParam, LRESULT& result) {
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  int kind = BarAtScreenPoint(p);
  if (kind >= 0) {
    result = BarEnabled(kind) ? (Vertical(kind) ? HTVSCROLL : HTHSCROLL) : HTNOWHERE;
    return true;
  }
  RECT corner = ToScreen(CornerRect());
  if (HorzBar().Shown && VertBar().Shown && PtInRect(&corner, p)) {
    // The platform's hit-test would report its own bars here.
    result = CornerIsGrip() ? (barsOnLeft_ ? HTBOTTOMLEFT : HTBOTTOMRIGHT) : HTNOWHERE;
    return true;
  }
  return false;
}

bool TvlScrollWnd::OnNcButtonDown(WPARAM hit, LPARAM lParam) {
  int kind = hit == HTVSCROLL ? TvlScrollBar::kVertical : TvlScrollBar::kHorizontal;
  RefreshScrollInfo(false);
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  int part = PartAtScreenPoint(kind, p);
  if (part == spNone || !BarEnabled(kind)) return false;
  const TvlScrollBar& bar = Bar(kind);
  if ((part == spFirstArrow && (bar.Flags & TvlScrollBar::kFirstArrowDisabled)) ||
      (part == spSecondArrow && (bar.Flags & TvlScrollBar::kSecondArrowDisabled)))
    return false;
  StopHotTracking();
  pressedBar_ = kind;
  pressedShown_ = true;
  if (part == spThumb) {
    BarLayout layout = Layout(kind);
    RECT r = ToScreen(BarRect(kind));
    int along = Vertical(kind) ? p.y - r.top : p.x - r.left;
    dragLayout_ = layout;
    dragThumbStart_ = layout.thumbStart;
    grabOffset_ = along - layout.thumbStart;
    dragPosition_ = bar.Info().nPos;
    pressedPart_ = part;
    draggingThumb_ = true;
    SetCapture(window_);
    PaintScrollBars();
    return true;
  }
  pressedPart_ = part;
  SetCapture(window_);
  PaintScrollBars();
  SendScrollRequest(kind, part, 0);
  if (pressedPart_ >= 0) StartRepeat();
  return true;
}

void TvlScrollWnd::OnMouseMoveWhilePressed() {
  int kind = pressedBar_;
  POINT p{};
  GetCursorPos(&p);
  if (!draggingThumb_) {
    bool over = PartAtScreenPoint(kind, p) == pressedPart_;
    if (over != pressedShown_) {
      pressedShown_ = over;
      PaintScrollBars();
    }
    return;
  }
  RECT r = ToScreen(BarRect(kind));
  int along = Vertical(kind) ? p.y - r.top : p.x - r.left;
  dragThumbStart_ = ClampThumbStart(dragLayout_, along - grabOffset_);
  Bar(kind).Refresh();
  int position = DragPosition(dragLayout_, Bar(kind).Values(), dragThumbStart_);
  PaintScrollBars();
  if (position != dragPosition_) {
    dragPosition_ = position;
    SendScrollRequest(kind, SB_THUMBTRACK, position);
  }
}

void TvlScrollWnd::OnButtonUp() { EndPress(true); }

void TvlScrollWnd::EndPress(bool) {
  int kind = pressedBar_;
  bool dragged = draggingThumb_;
  int position = dragPosition_;
  pressedPart_ = -1;
  pressedBar_ = -1;
  pressedShown_ = false;
  StopRepeat();
  // Releasing the capture sends WM_CAPTURECHANGED: the press is already over by then.
  if (GetCapture() == window_) ReleaseCapture();
  if (dragged) {
    SendScrollRequest(kind, SB_THUMBPOSITION, position);
    draggingThumb_ = false;
    SendScrollRequest(kind, SB_ENDSCROLL, position);
  } else if (kind >= 0) {
    SendScrollRequest(kind, SB_ENDSCROLL, 0);
  }
  draggingThumb_ = false;
  RefreshScrollInfo(true);
}

void TvlScrollWnd::StartRepeat() {
  StopRepeat();
  repeatTimer_ = SetTimer(window_, kRepeatDelayTimer, kRepeatDelay, nullptr) ? kRepeatDelayTimer : 0;
}

void TvlScrollWnd::StopRepeat() {
  if (repeatTimer_) KillTimer(window_, repeatTimer_);
  repeatTimer_ = 0;
}

void TvlScrollWnd::OnTimer(UINT_PTR id) {
  if (id == kHotTimer) {
    if (draggingThumb_) return;
    POINT p{};
    GetCursorPos(&p);
    RECT r = ToScreen(BarRect(hotBar_ >= 0 ? hotBar_ : 0));
    if (hotBar_ >= 0 && PtInRect(&r, p)) {
      int part = PartAtScreenPoint(hotBar_, p);
      if (part != hotPart_) {
        hotPart_ = part;
        PaintScrollBars();
      }
    } else {
      StopHotTracking();
    }
    return;
  }
  if (pressedPart_ < 0 || draggingThumb_) {
    StopRepeat();
    return;
  }
  if (id == kRepeatDelayTimer) {
    KillTimer(window_, kRepeatDelayTimer);
    repeatTimer_ = SetTimer(window_, kRepeatTimer, kRepeatInterval, nullptr) ? kRepeatTimer : 0;
    // The first repeat comes with the switch to the short interval.
  }
  POINT p{};
  GetCursorPos(&p);
  bool over = PartAtScreenPoint(pressedBar_, p) == pressedPart_;
  if (over != pressedShown_) {
    pressedShown_ = over;
    PaintScrollBars();
  }
  if (over) SendScrollRequest(pressedBar_, pressedPart_, 0);
}

void TvlScrollWnd::OnNcMouseMove(WPARAM hit) {
  if (pressedPart_ >= 0) return;
  int kind = hit == HTVSCROLL ? TvlScrollBar::kVertical : TvlScrollBar::kHorizontal;
  POINT p{};
  GetCursorPos(&p);
  int part = PartAtScreenPoint(kind, p);
  if (kind != hotBar_) {
    hotBar_ = kind;
    hotPart_ = part;
    if (!hotTimer_) hotTimer_ = SetTimer(window_, kHotTimer, kHotInterval, nullptr) != 0;
    PaintScrollBars();
  } else if (part != hotPart_) {
    hotPart_ = part;
    PaintScrollBars();
  }
}

void TvlScrollWnd::StopHotTracking() {
  if (hotTimer_) KillTimer(window_, kHotTimer);
  hotTimer_ = false;
  if (hotBar_ < 0) return;
  hotBar_ = -1;
  hotPart_ = -1;
  PaintScrollBars();
}

void TvlScrollWnd::SendScrollRequest(int kind, int code, int position) {
  if (kind < 0 || !IsWindow(window_)) return;
  UINT msg = Vertical(kind) ? WM_VSCROLL : WM_HSCROLL;
  inScroll_ = true;
  bool inMessage = TakesThumbPositionInMessage() &&
                   SendMessageW(window_, SM_LACQUERCMD, SkinCommandParam(scSuspendPainting), 0) == 1;
  if (!inMessage) {
    Bar(kind).Refresh();
    if (code == SB_THUMBTRACK) {
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
      SetScrollInfo(window_, Vertical(kind) ? SB_VERT : SB_HORZ, &info, FALSE);
    }
  }
  SendMessageW(window_, msg, MAKEWPARAM(code, std::min(position, 65535)), inMessage ? position : 0);
  SendMessageW(window_, SM_LACQUERCMD, SkinCommandParam(scResumePainting), 0);
  inScroll_ = false;
  RefreshScrollInfo(true);
}

// ---------------------------------------------------------------------------------------------
// Painting

Bitmap TvlScrollWnd::BackgroundUnderWindow() const {
  Rect w = WindowRectangle();
  Bitmap under(w.Width(), w.Height(), PixelFormat::pf24bit);
  TsBackgroundRequest request;
  TsBackgroundRef background;
  Point origin{};
  TControl* control = Control();
  if (control && control->Parent()) {
    background = ParentBackgroundOf(control, request);
    origin = {control->Left(), control->Top()};
  } else if (HWND parent = GetParent(window_)) {
    RequestParentBackground(request, parent, false);
    background = ToBackgroundRef(request);
    RECT r{};
    GetWindowRect(window_, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    origin = {r.left, r.top};
  }
  if (background.Valid && background.Bitmap) {
    CopyBlock(*background.Bitmap, background.X + origin.x, background.Y + origin.y, under, 0, 0, w.Width(), w.Height());
  } else {
    TColor fill = background.FillColor == clFuchsia ? static_cast<TColor>(GetSysColor(COLOR_BTNFACE)) : background.FillColor;
    FillRectColor(under, under.Bounds(), fill);
  }
  return under;
}

int TvlScrollWnd::PartState(int kind, int part) const {
  if (pressedBar_ == kind && pressedPart_ == part && (pressedShown_ || part == spThumb)) return 2;
  if (hotBar_ == kind && hotPart_ == part && pressedPart_ < 0) return 1;
  return 0;
}

void TvlScrollWnd::PaintScrollBars(HDC dc) {
  if (!IsWindow(window_) || !IsWindowVisible(window_) || Unhooked() || !SkinActive()) return;
  if (!dc && window_animation::Animating()) return;  // the screen lies under an animation
  if (!HorzBar().Shown && !VertBar().Shown) return;
  if (SkinState().CacheDirty) SendMessageW(window_, SM_LACQUERCMD, SkinCommandParam(23), 0);
  Bitmap under = BackgroundUnderWindow();
  std::unique_ptr<WindowDc> own;
  if (!dc) {
    own = std::make_unique<WindowDc>(window_, true);
    dc = own->get();
  }
  if (!dc) return;
  ++barPaints_;
  for (int kind : {TvlScrollBar::kHorizontal, TvlScrollBar::kVertical})
    if (Bar(kind).Shown) PaintBar(dc, kind, under);
  PaintCorner(dc, under);
}

void TvlScrollWnd::PaintBar(HDC dc, int kind, const Bitmap& under) {
  Rect r = BarRect(kind);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  TsSkinManager& manager = *SkinManager();
  DibSection surface = DibSection::CreateBitmap24(r.Width(), r.Height());
  if (!surface) return;
  Bitmap& bar = surface.Pixels();
  BarLayout layout = Layout(kind);
  bool vertical = Vertical(kind);
  int length = vertical ? r.Height() : r.Width();
  bool enabled = BarEnabled(kind);
  // The track, split at the thumb's centre (the bar's middle without a thumb).
  int split = layout.HasThumb() ? layout.thumbStart + layout.thumbSize / 2 : length / 2;
  const char* before = vertical ? "SCROLLBAR1V" : "SCROLLBAR1H";
  const char* after = vertical ? "SCROLLBAR2V" : "SCROLLBAR2H";
  Point origin{r.left, r.top};
  bool dragging = draggingThumb_ && pressedBar_ == kind;
  PaintPiece(manager, before, under, origin, bar, Piece(kind, r, 0, split), dragging ? 0 : PartState(kind, spTrackBefore), false);
  PaintPiece(manager, after, under, origin, bar, Piece(kind, r, split, length), dragging ? 0 : PartState(kind, spTrackAfter), false);
  // Arrows and thumb show the track under their transparent parts.
  Bitmap track = bar;
  const char* first = vertical ? "SCROLLBTNTOP" : "SCROLLBTNLEFT";
  const char* second = vertical ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT";
  PaintPiece(manager, first, track, {0, 0}, bar, Piece(kind, r, 0, layout.arrow), PartState(kind, spFirstArrow), true);
  PaintPiece(manager, second, track, {0, 0}, bar, Piece(kind, r, length - layout.arrow, length),
             PartState(kind, spSecondArrow), true);
  if (enabled && layout.HasThumb()) {
    Bitmap withArrows = bar;
    int state = PartState(kind, spThumb);
    if (state == 0 && hotBar_ == kind && hotPart_ == spThumb) state = 1;
    PaintPiece(manager, vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH", withArrows, {0, 0}, bar,
               Piece(kind, r, layout.thumbStart, layout.ThumbEnd()), state, true);
  }
  if (!enabled) {
    // A disabled bar is faded into what lies under it.
    Bitmap background(r.Width(), r.Height(), PixelFormat::pf24bit);
    CopyBlock(under, r.left, r.top, background, 0, 0, r.Width(), r.Height());
    BlendWithWeight(bar, background, static_cast<uint8_t>(255 * 4 / 10), {0, 0}, background.Bounds());
  }
  CopyBitmapToDc(dc, r.left, r.top, surface.Handle(), bar.Bounds());
}

void TvlScrollWnd::PaintCorner(HDC dc, const Bitmap& under) {
  Rect corner = CornerRect();
  if (corner.Width() <= 0 || corner.Height() <= 0) return;
  DibSection surface = DibSection::CreateBitmap24(corner.Width(), corner.Height());
  if (!surface) return;
  Bitmap& pixels = surface.Pixels();
  CopyBlock(under, corner.left, corner.top, pixels, 0, 0, corner.Width(), corner.Height());
  TsSkinManager& manager = *SkinManager();
  if (CornerIsGrip()) {
    int global = manager.CommonIndexes().GlobalInfo;
    int grip = manager.ImageItemIndexOf(global, "GLOBALINFO", "GRIPIMAGE");
    if (manager.IsValidItem(grip)) {
      Point size = manager.Skin().ItemSize(grip);
      PaintGlyphItem(&manager.Skin(), pixels, {pixels.Width() - size.x, pixels.Height() - size.y}, 0,
                     EmptyBackground(), manager.Skin().Items[static_cast<size_t>(grip)], 1);
    }
  }
  CopyBitmapToDc(dc, corner.left, corner.top, surface.Handle(), pixels.Bounds());
}
