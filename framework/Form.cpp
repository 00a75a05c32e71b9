// See Form.h.
#include "framework/Form.h"

#include <algorithm>

#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Menus.h"

const TypeInfo& WindowStateType() {
  static const TypeInfo t = MakeEnumType(L"TWindowState", {L"wsNormal", L"wsMinimized", L"wsMaximized"});
  return t;
}

const ClassInfo& TForm::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TForm>(L"TForm", &TCustomControl::StaticClass())
          .Ordinal(L"WindowState", WindowStateType(), &TForm::WindowState, &TForm::SetWindowState)
          .Integer(L"PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
          .Build());
  return info;
}

namespace {
std::vector<TForm*>& FormList() {
  static std::vector<TForm*> forms;
  return forms;
}
}  // namespace

const std::vector<TForm*>& TForm::AllForms() { return FormList(); }

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
  TControl::SetVisible(false);  // a form appears when it is shown
  FormList().push_back(this);
}

TForm::~TForm() {
  auto& forms = FormList();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void TForm::BeforeDestruction() {
  if (!destroyed_) {
    destroyed_ = true;
    // Every component is still there while OnDestroy runs.
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  TCustomControl::BeforeDestruction();
}

void TForm::DoCreate() { OnCreate(this); }

void TForm::CreateParams(CreateParamsRecord& p) {
  TCustomControl::CreateParams(p);
  p.parentWindow = nullptr;
  p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone: p.style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: p.style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: p.style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog: p.style |= WS_CAPTION | DS_MODALFRAME; p.exStyle |= WS_EX_DLGMODALFRAME; break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && borderIcons_.Has(TBorderIcon::biSystemMenu)) {
    p.style |= WS_SYSMENU;
    bool dialogLike = borderStyle_ == TFormBorderStyle::bsDialog || borderStyle_ == TFormBorderStyle::bsToolWindow ||
                      borderStyle_ == TFormBorderStyle::bsSizeToolWin;
    if (!dialogLike && borderIcons_.Has(TBorderIcon::biMinimize)) p.style |= WS_MINIMIZEBOX;
    if (!dialogLike && borderIcons_.Has(TBorderIcon::biMaximize)) p.style |= WS_MAXIMIZEBOX;
  }
  if (borderStyle_ == TFormBorderStyle::bsToolWindow || borderStyle_ == TFormBorderStyle::bsSizeToolWin)
    p.exStyle |= WS_EX_TOOLWINDOW;
  if (!Enabled()) p.style |= WS_DISABLED;
  if (position_ == TPosition::poDefault || position_ == TPosition::poDefaultPosOnly) p.x = p.y = CW_USEDEFAULT;
  if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter) {
    p.x = (GetSystemMetrics(SM_CXSCREEN) - p.width) / 2;
    p.y = (GetSystemMetrics(SM_CYSCREEN) - p.height) / 2;
  }
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TWindowState TForm::WindowState() const {
  if (HandleAllocated()) {
    HWND window = const_cast<TForm*>(this)->Handle();
    if (IsWindowVisible(window)) {
      if (IsIconic(window)) return TWindowState::wsMinimized;
      if (IsZoomed(window)) return TWindowState::wsMaximized;
      return TWindowState::wsNormal;
    }
  }
  return windowState_;
}

void TForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  if (HandleAllocated() && IsWindowVisible(Handle())) ApplyWindowState();
}

void TForm::ApplyWindowState() {
  switch (windowState_) {
    case TWindowState::wsMaximized: ShowWindow(Handle(), SW_SHOWMAXIMIZED); break;
    case TWindowState::wsMinimized: ShowWindow(Handle(), SW_SHOWMINIMIZED); break;
    case TWindowState::wsNormal: ShowWindow(Handle(), IsWindowVisible(Handle()) ? SW_RESTORE : SW_SHOWNORMAL); break;
  }
}

bool TForm::Showing() const { return Visible() && HandleAllocated() && IsWindowVisible(const_cast<TForm*>(this)->Handle()); }

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  TControl::SetVisible(visible);
  if (visible) {
    HandleNeeded();
    shownOnce_ = true;
    DoShow();  // before the window becomes visible: a restored placement must not flicker
    if (!Visible()) return;
    ApplyWindowState();
    SetForegroundWindow(Handle());
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
  } else {
    DoHide();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::Show() { SetVisible(true); }
void TForm::Hide() { SetVisible(false); }

bool TForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  bool isMain = Application && Application->MainForm() == this;
  TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
  OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (isMain) {
    Application->Terminate();
    return;
  }
  if (action == TCloseAction::caMinimize) SetWindowState(TWindowState::wsMinimized);
  else Hide();
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (activeControl_) activeControl_->RemoveFreeNotification(this);
  activeControl_ = control;
  if (control) {
    control->FreeNotification(this);
    if (active_ && control->CanFocus()) control->SetFocus();
  }
}

void TForm::FocusChanged(TWinControl* focused) {
  if (focused != this) SetActiveControl(focused);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
  if (operation == TOperation::opRemove && component && component == static_cast<TComponent*>(menu_)) SetMenu(nullptr);
}

std::vector<TWinControl*> TForm::FocusOrder() const {
  std::vector<TWinControl*> order;
  auto visit = [&order](auto& self, const TWinControl* parent) -> void {
    for (TWinControl* child : parent->TabList()) {
      order.push_back(child);
      self(self, child);
    }
  };
  visit(visit, this);
  return order;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> order = FocusOrder();
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), current);
  size_t start = it == order.end() ? (forward ? order.size() - 1 : 0) : static_cast<size_t>(it - order.begin());
  for (size_t step = 1; step <= order.size(); ++step) {
    size_t index = forward ? (start + step) % order.size() : (start + order.size() - step) % order.size();
    TWinControl* candidate = order[index];
    if (candidate->TabStop() && candidate->CanFocus()) {
      candidate->SetFocus();
      return;
    }
  }
}

bool TForm::HandleDialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  TWinControl* current = nullptr;
  for (HWND w = GetFocus(); w && !current; w = GetParent(w)) current = TWinControl::FromHandle(w);
  SelectNext(current, GetKeyState(VK_SHIFT) >= 0);
  return true;
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ACTIVATE:
      DefaultHandler(m);
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        active_ = true;
        if (activeControl_ && activeControl_->CanFocus() && !HIWORD(m.WParam)) activeControl_->SetFocus();
        Activate();
      } else {
        active_ = false;
        Deactivate();
      }
      return;
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_QUERYENDSESSION:
      m.Result = CloseQuery() ? TRUE : FALSE;
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}
