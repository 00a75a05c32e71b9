// See Control.h.
#include "framework/Control.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "framework/AppServices.h"
#include "framework/Exception.h"
#include "framework/PaintBuffer.h"

namespace {

const wchar_t kObjectProperty[] = L"BrenvaleControl";
thread_local TWinControl* creatingControl = nullptr;  // borrowed: the control whose window is being created

// Default procedures of the window classes this program registered, by class name.
std::map<std::wstring, WNDPROC>& RegisteredClasses() {
  static std::map<std::wstring, WNDPROC> classes;
  return classes;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL; }

// The control of each window this process made.
std::unordered_map<HWND, TWinControl*>& WindowObjects() {
  static std::unordered_map<HWND, TWinControl*> objects;
  return objects;
}
std::mutex& WindowObjectsMutex() {
  static std::mutex mutex;
  return mutex;
}
void SetWindowObject(HWND window, TWinControl* control) {
  std::lock_guard<std::mutex> lock(WindowObjectsMutex());
  if (control) WindowObjects()[window] = control;
  else WindowObjects().erase(window);
}

}  // namespace

TShiftState CurrentShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
  return s;
}

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case TCursor::crHandPoint: return LoadCursorW(nullptr, IDC_HAND);
    case TCursor::crHourGlass: return LoadCursorW(nullptr, IDC_WAIT);
    case TCursor::crIBeam: return LoadCursorW(nullptr, IDC_IBEAM);
    case TCursor::crArrow:
    case TCursor::crDefault: break;
  }
  return LoadCursorW(nullptr, IDC_ARROW);
}

const TypeInfo& AlignType() {
  static const TypeInfo t = MakeEnumType(L"TAlign", {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"});
  return t;
}

// ---------------------------------------------------------------------------------------------
// TControl

const ClassInfo& TControl::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TControl>(L"TControl", &TComponent::StaticClass())
          .Integer(L"Left", &TControl::Left, &TControl::SetLeft)
          .Integer(L"Top", &TControl::Top, &TControl::SetTop)
          .Integer(L"Width", &TControl::Width, &TControl::SetWidth)
          .Integer(L"Height", &TControl::Height, &TControl::SetHeight)
          .Ordinal(L"Align", AlignType(), &TControl::Align, &TControl::SetAlign)
          .String(L"Caption", &TControl::Caption, &TControl::SetCaption)
          .Ordinal(L"Color", TypeInfo::Integer(), &TControl::Color, &TControl::SetColor)
          .Boolean(L"Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Object(L"Font", TFont::StaticClass(), static_cast<TFont* (TControl::*)()>(&TControl::Font), nullptr)
          .Boolean(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .String(L"Hint", &TControl::Hint, &TControl::SetHint)
          .Boolean(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Boolean(L"Visible", &TControl::Visible, &TControl::SetVisible)
          .Build());
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

void TControl::SetHint(const std::wstring& value) {
  if (hint_ == value) return;
  hint_ = value;
  HintChanged(this);
}

void TControl::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  HintChanged(this);
}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception(L"A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  if (parentFont_ && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_.Assign(*parent_->Font());
  parentFont_ = true;  // the assignment cleared it through OnChange
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  bool resized = width != width_ || height != height_;
  UpdateBoundsRect(Rect::FromSize(left, top, width, height));
  Invalidate();
  if (resized) Resize();
  RequestAlign();
}

void TControl::UpdateBoundsRect(const Rect& r) {
  left_ = r.left;
  top_ = r.top;
  width_ = r.Width();
  height_ = r.Height();
}

void TControl::RequestAlign() {
  if (parent_ && align_ != TAlign::alNone) parent_->AlignControls();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  if (parent_) {
    InvalidateRect(parent_->HandleAllocated() ? parent_->Handle() : nullptr, nullptr, FALSE);
    Invalidate();
    if (align_ != TAlign::alNone) parent_->AlignControls();
  }
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  TextChanged();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r{left_, top_, left_ + width_, top_ + height_};
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

Point TControl::ClientOrigin() const {
  if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->HandleAllocated()) {
    POINT p{0, 0};
    ::ClientToScreen(const_cast<TWinControl*>(self)->Handle(), &p);
    return {p.x, p.y};
  }
  if (!parent_) return {left_, top_};
  Point origin = parent_->ClientOrigin();
  return {origin.x + left_, origin.y + top_};
}

Point TControl::ClientToScreen(Point p) const {
  Point origin = ClientOrigin();
  return {p.x + origin.x, p.y + origin.y};
}

Point TControl::ScreenToClient(Point p) const {
  Point origin = ClientOrigin();
  return {p.x - origin.x, p.y - origin.y};
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  Dispatch(m);
  return m.Result;
}

int TControl::AddMessageHook(MessageHook hook) {
  int id = nextHookId_++;
  hooks_.push_back({id, std::make_shared<MessageHook>(std::move(hook))});
  return id;
}

void TControl::RemoveMessageHook(int id) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const HookEntry& e) { return e.id == id; }),
               hooks_.end());
}

bool TControl::HookAlive(int id) const {
  return std::any_of(hooks_.begin(), hooks_.end(), [id](const HookEntry& e) { return e.id == id; });
}

void TControl::Dispatch(TMessage& message) {
  if (hooks_.empty()) {
    WndProc(message);
    return;
  }
  // A snapshot keeps every hook alive while it runs, even when it removes itself.
  std::vector<HookEntry> chain = hooks_;
  CallHook(chain, chain.size(), message);
}

void TControl::CallHook(const std::vector<HookEntry>& chain, size_t index, TMessage& message) {
  while (index > 0 && !HookAlive(chain[index - 1].id)) --index;
  if (index == 0) {
    WndProc(message);
    return;
  }
  const HookEntry& entry = chain[index - 1];
  (*entry.hook)(message, [this, &chain, index](TMessage& m) { CallHook(chain, index - 1, m); });
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseEnter() { OnMouseEnter(this); }
void TControl::MouseLeave() { OnMouseLeave(this); }

void TControl::WndProc(TMessage& m) {
  auto shiftFrom = [](WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
  };
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      leftButtonDown_ = true;
      MouseDown(TMouseButton::mbLeft, shiftFrom(m.WParam), x, y);
      break;
    case WM_LBUTTONDBLCLK:
      leftButtonDown_ = true;
      DblClick();
      MouseDown(TMouseButton::mbLeft, shiftFrom(m.WParam) | ssDouble, x, y);
      break;
    case WM_RBUTTONDOWN:
      MouseDown(TMouseButton::mbRight, shiftFrom(m.WParam), x, y);
      break;
    case WM_LBUTTONUP: {
      bool wasDown = std::exchange(leftButtonDown_, false);
      MouseUp(TMouseButton::mbLeft, shiftFrom(m.WParam), x, y);
      if (wasDown && ClicksOnMouseUp() && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
      break;
    }
    case WM_RBUTTONUP:
      MouseUp(TMouseButton::mbRight, shiftFrom(m.WParam), x, y);
      break;
    case WM_MOUSEMOVE:
      MouseMove(shiftFrom(m.WParam), x, y);
      break;
    case CM_MOUSEENTER:
      mouseInControl_ = true;
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      mouseInControl_ = false;
      MouseLeave();
      return;
    default:
      break;
  }
  DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

const ClassInfo& TGraphicControl::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TGraphicControl>(L"TGraphicControl", &TControl::StaticClass()).Build());
  return info;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

const ClassInfo& TWinControl::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TWinControl>(L"TWinControl", &TControl::StaticClass())
          .Integer(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Boolean(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .Build());
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children that outlive this control (a plain delete of the parent) must not reach back.
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  tabList_.clear();
  DestroyWnd();
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  std::lock_guard<std::mutex> lock(WindowObjectsMutex());
  auto found = WindowObjects().find(window);
  return found == WindowObjects().end() ? nullptr : found->second;
}

HWND TWinControl::Handle() {
  if (!window_) {
    if (Parent()) Parent()->HandleNeeded();
    if (!window_) CreateWnd();  // the parent may have created this window with its children
  }
  return window_;
}

void TWinControl::CreateParams(CreateParamsRecord& p) {
  p.caption = caption_;
  p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) p.style |= WS_VISIBLE;
  if (!Enabled()) p.style |= WS_DISABLED;
  if (tabStop_) p.style |= WS_TABSTOP;
  p.x = Left();
  p.y = Top();
  p.width = Width();
  p.height = Height();
  p.parentWindow = Parent() ? Parent()->Handle() : nullptr;
  p.windowClassName = ClassName();
}

void TWinControl::CreateWnd() {
  CreateParamsRecord p;
  CreateParams(p);
  HINSTANCE instance = GetModuleHandleW(nullptr);

  auto& classes = RegisteredClasses();
  auto known = classes.find(p.windowClassName);
  if (known == classes.end()) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC original = DefWindowProcW;
    if (!p.superclassOf.empty()) {
      // A native control under our own class name: its procedure handles what we pass on.
      if (!GetClassInfoExW(nullptr, p.superclassOf.c_str(), &wc))
        throw Exception(L"Window class " + p.superclassOf + L" is not available");
      original = wc.lpfnWndProc;
      wc.cbSize = sizeof(wc);
      wc.style &= ~CS_GLOBALCLASS;
    } else {
      wc.style = p.classStyle;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      // Only windows of their own show an icon: the class's, with the small picture the platform
      // takes from the same resource at registration (nothing sets a window icon of its own, which
      // under Wine costs a form some fifty server requests more). A class icon is work for
      // nothing in a class of child controls.
      if (!(p.style & WS_CHILD)) wc.hIcon = LoadIconW(instance, L"MAINICON");
    }
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = p.windowClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw Exception(L"Cannot register window class " + p.windowClassName);
    known = classes.emplace(p.windowClassName, original).first;
  }
  defaultProc_ = known->second;

  TWinControl* previous = std::exchange(creatingControl, this);
  HWND window = CreateWindowExW(p.exStyle, p.windowClassName.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                                p.width, p.height, p.parentWindow, nullptr, instance, nullptr);
  creatingControl = previous;
  if (!window) throw Exception(L"Cannot create the window of " + (Name().empty() ? ClassName() : Name()));
  if (!window_) {
    window_ = window;
    SetPropW(window, kObjectProperty, this);
    SetWindowObject(window, this);
    handle_counts::Add(handle_counts::Kind::User, 1);
  }
  // The real size (a top-level window may be limited by its minimum track size).
  RECT r;
  GetWindowRect(window_, &r);
  if (Parent()) MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
  UpdateBoundsRect({r.left, r.top, r.right, r.bottom});
  CreateChildWindows();
  CreateWindowDone();
}

void TWinControl::CreateChildWindows() {
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->window_) w->CreateWnd();
  AlignControls();
}

void TWinControl::CreateWindowDone() {
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::DestroyWnd() {
  if (window_) DestroyWindow(window_);  // WM_NCDESTROY clears window_
  window_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!window_) return;
  bool hadFocus = Focused();
  DestroyWnd();
  CreateWnd();
  if (hadFocus) SetFocus();
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FromHandle(window);
  if (!control && creatingControl) {
    control = creatingControl;
    control->window_ = window;
    SetPropW(window, kObjectProperty, control);
    SetWindowObject(window, control);
    handle_counts::Add(handle_counts::Kind::User, 1);  // taken off at WM_NCDESTROY
  }
  if (!control) return DefWindowProcW(window, msg, wParam, lParam);

  if (IsMouseMessage(msg) || msg == WM_MOUSELEAVE) NoteMouseMessage(window, msg);
  else if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) NoteKeyMessage(msg);
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->Dispatch(m);
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    HandleException(Exception(L"Unknown error"));
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(window, kObjectProperty);
    SetWindowObject(window, nullptr);
    handle_counts::Add(handle_counts::Kind::User, -1);
    if (control->window_ == window) control->window_ = nullptr;
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!window_) return;
  m.Result = CallWindowProcW(defaultProc_ ? defaultProc_ : DefWindowProcW, window_, m.Msg, m.WParam, m.LParam);
}

LRESULT TWinControl::ReflectNotification(HWND child, TMessage& m) {
  TWinControl* target = FromHandle(child);
  if (!target || target == this) {
    DefaultHandler(m);
    return m.Result;
  }
  TMessage reflected{m.Msg + CN_BASE, m.WParam, m.LParam, 0};
  target->Dispatch(reflected);
  return reflected.Result;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) {
        m.Result = ReflectNotification(reinterpret_cast<HWND>(m.LParam), m);
        return;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(m.LParam);
      m.Result = ReflectNotification(header->hwndFrom, m);
      return;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (item->CtlType != ODT_MENU) {
        m.Result = ReflectNotification(item->hwndItem, m);
        return;
      }
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      m.Result = ReflectNotification(reinterpret_cast<HWND>(m.LParam), m);
      return;
    case WM_WINDOWPOSCHANGED:
      HandleWindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
      break;
    case WM_NCPAINT: {
      // A window whose client area fills it has no frame to paint: the default painting would
      // only fetch a device context for it (and, under Wine, check the display settings).
      RECT window, client;
      if (GetWindowRect(window_, &window) && GetClientRect(window_, &client) &&
          window.right - window.left == client.right && window.bottom - window.top == client.bottom) {
        m.Result = 0;
        return;
      }
      break;
    }
    case WM_SETFOCUS:
      {
        TWinControl* top = this;
        while (top->Parent()) top = top->Parent();
        top->FocusChanged(this);
      }
      OnEnter(this);
      break;
    case WM_KILLFOCUS:
      OnExit(this);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(m.WParam);
      KeyDown(key, CurrentShiftState());
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(m.WParam);
      KeyUp(key, CurrentShiftState());
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.WParam) == window_ && LOWORD(m.LParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(window_, &p);
        TControl* child = ControlAtPos({p.x, p.y});
        TCursor cursor = child ? child->Cursor() : Cursor();
        if (cursor != TCursor::crDefault) {
          ::SetCursor(CursorHandle(cursor));
          m.Result = TRUE;
          return;
        }
      }
      break;
    default:
      if (IsMouseMessage(m.Msg) && ForwardMouseToGraphicChild(m)) return;
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::HandleWindowPosChanged(const WINDOWPOS& pos) {
  RECT r;
  GetWindowRect(window_, &r);
  if (Parent()) MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
  Rect bounds{r.left, r.top, r.right, r.bottom};
  if (IsIconic(window_)) return;  // a minimised window keeps its normal bounds
  bool resized = bounds.Width() != Width() || bounds.Height() != Height();
  UpdateBoundsRect(bounds);
  // A changed frame (a skin's frame came or went) changes the client area within the same bounds.
  if (resized || !(pos.flags & SWP_NOSIZE) || (pos.flags & SWP_FRAMECHANGED)) {
    AlignControls();
    if (resized) Resize();
  }
}

bool TWinControl::ForwardMouseToGraphicChild(TMessage& m) {
  Point p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = captureControl_;
  if (!target) target = ControlAtPos(p);
  if (!target) return false;
  TMessage forwarded{m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    captureControl_ = target;
    SetCapture(window_);
  }
  target->Dispatch(forwarded);
  if (m.Msg == WM_LBUTTONUP && captureControl_) {
    captureControl_ = nullptr;
    ReleaseCapture();
  }
  m.Result = forwarded.Result;
  return true;
}

TControl* TWinControl::ControlAtPos(Point p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c)) continue;
    if (c->Visible() && c->Enabled() && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (window_) w->CreateWnd();
  } else {
    control->Invalidate();
  }
  if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  if (captureControl_ == control) captureControl_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  control->parent_ = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->window_ && !IsDestroying()) {
    // A windowed child leaving its parent loses its window; it gets a new one with its next parent.
    w->DestroyWnd();
  }
  if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  if (window_) {
    SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // WM_WINDOWPOSCHANGED stored the bounds the window really got.
  } else {
    bool resized = width != Width() || height != Height();
    UpdateBoundsRect(Rect::FromSize(left, top, width, height));
    if (resized) Resize();
  }
  RequestAlign();
}

Rect TWinControl::ClientRect() const {
  if (window_) {
    RECT r;
    GetClientRect(window_, &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  return TControl::ClientRect();
}

void TWinControl::SetVisible(bool visible) {
  if (visible == Visible()) return;
  TControl::SetVisible(visible);
  if (window_ && Parent()) ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  TControl::SetEnabled(enabled);
  if (window_) EnableWindow(window_, enabled);
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return window_ && IsWindowVisible(window_);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (order < 0) order = 0;
  if (order > static_cast<int>(list.size())) order = static_cast<int>(list.size());
  list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return window_ && GetFocus() == window_; }

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

void TWinControl::AlignControls() {
  if (aligning_) return;
  std::vector<AlignedChild> layout;
  std::vector<TControl*> aligned;
  for (TControl* c : controls_) {
    if (c->Align() == TAlign::alNone || !c->Visible()) continue;
    layout.push_back({c->Align(), c->BoundsRect()});
    aligned.push_back(c);
  }
  if (aligned.empty()) return;
  aligning_ = true;
  ArrangeAligned(ClientRect(), layout);
  for (size_t i = 0; i < aligned.size(); ++i) {
    const Rect& r = layout[i].bounds;
    aligned[i]->SetBounds(r.left, r.top, r.Width(), r.Height());
  }
  aligning_ = false;
}

void TWinControl::Invalidate() {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (window_) UpdateWindow(window_);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(WORD& key, TShiftState shift) { OnKeyUp(this, key, shift); }

void TWinControl::PaintControls(HDC dc, const RECT& area) {
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT bounds{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    RECT common;
    if (!IntersectRect(&common, &bounds, &area)) continue;
    SavedDcState saved(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Paint(dc);
  }
}

void TWinControl::FontChanged() {
  if (window_) {
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    Invalidate();
  }
  for (TControl* c : controls_)
    if (c->ParentFont()) c->ParentFontChanged();
}

void TWinControl::TextChanged() {
  if (window_) SetWindowTextW(window_, caption_.c_str());
}

void TWinControl::ColorChanged() { Invalidate(); }

// ---------------------------------------------------------------------------------------------
// TCustomControl

const ClassInfo& TCustomControl::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TCustomControl>(L"TCustomControl", &TWinControl::StaticClass()).Build());
  return info;
}

void TCustomControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // WM_PAINT paints everything, off screen
      return;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      auto paint = [this](HDC target, RECT area) {
        // The thread's buffer serves one paint at a time; a paint inside a paint has its own.
        static thread_local PaintBuffer shared;
        static thread_local bool lent = false;
        PaintBuffer own;
        PaintBuffer& buffer = lent ? own : shared;
        Rect client = ClientRect();
        HDC memory = buffer.Prepare(std::max(1, client.Width()), std::max(1, client.Height()));
        if (!memory) return;
        struct Lend {
          bool& flag;
          bool before;
          ~Lend() { flag = before; }
        } lend{lent, std::exchange(lent, true)};
        {
          SavedDcState saved(memory);
          Paint(memory);
          PaintControls(memory, area);
        }
        buffer.CopyTo(target, area);
      };
      if (m.Msg == WM_PRINTCLIENT) {
        Rect c = ClientRect();
        paint(reinterpret_cast<HDC>(m.WParam), RECT{0, 0, c.Width(), c.Height()});
      } else {
        PaintDc dc(Handle());
        paint(dc.get(), dc.PaintRect());
      }
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomControl::Paint(HDC dc) {
  Rect c = ClientRect();
  RECT r{0, 0, c.Width(), c.Height()};
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(dc, &r, brush.get());
}
