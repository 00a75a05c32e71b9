// See Application.h.
#include "framework/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "framework/AppServices.h"
#include "framework/Exception.h"
#include "framework/Strings.h"

TApplication* Application = nullptr;

void HandleException(const std::exception& error) {
  if (Application) {
    Application->ShowException(error);
    return;
  }
  MessageBoxW(nullptr, bv::Utf8ToWide(error.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

void NoteMouseMessage(HWND window, UINT msg) {
  if (Application && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) Application->CancelHint();
  if (msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
  }
  if (Application) Application->UpdateMouseControl();
}

void NoteKeyMessage(UINT) {
  if (Application) Application->CancelHint();
}

void HintChanged(TControl* control) {
  if (Application) Application->HintChanged(control);
}

const ClassInfo& TApplication::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TApplication>(L"TApplication", &TComponent::StaticClass()).Build());
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {
  if (!Application) Application = this;
}

TApplication::~TApplication() {
  // Forms go first, while the application window and COM are still there.
  BeforeDestruction();
  window_.reset();
  if (comInitialized_) OleUninitialize();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  if (!comInitialized_) comInitialized_ = SUCCEEDED(OleInitialize(nullptr));
  Handle();
}

HWND TApplication::Handle() {
  if (!window_) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TApplication";
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    RegisterClassExW(&wc);
    window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, L"TApplication", title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr));
  }
  return window_.get();
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (window_) SetWindowTextW(window_.get(), title.c_str());
}

namespace {
// Posted to the application window by ShowExceptionLater.
constexpr UINT kShowLaterErrors = WM_APP + 0x3A1;
// The application window's timer for the hint's pauses.
constexpr UINT_PTR kHintTimer = 0x4854;
}  // namespace

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kShowLaterErrors && Application) {
    // Messages handled while the main window is being made wait for Run to show it.
    if (Application->creatingForms_ > 0 || (Application->mainForm_ && !Application->running_)) return 0;
    std::vector<std::wstring> errors = std::move(Application->laterErrors_);
    Application->laterErrors_.clear();
    for (const std::wstring& text : errors) Application->ShowErrorText(text);
    return 0;
  }
  if (msg == WM_TIMER && wParam == kHintTimer) {
    KillTimer(window, kHintTimer);
    if (Application) Application->HintTimerDue();
    return 0;
  }
  if (msg == WM_SYSCOMMAND && Application && Application->mainForm_ && Application->mainForm_->HandleAllocated()) {
    switch (wParam & 0xFFF0) {
      case SC_MINIMIZE: ShowWindow(Application->mainForm_->Handle(), SW_MINIMIZE); return 0;
      case SC_RESTORE: ShowWindow(Application->mainForm_->Handle(), SW_RESTORE); return 0;
      default: break;
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  running_ = true;
  if (!laterErrors_.empty()) PostMessageW(Handle(), kShowLaterErrors, 0, 0);
  MSG msg;
  while (!terminated_) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root)); form && form->HandleDialogKey(msg))
      return true;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must see it too
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::Terminate() {
  if (terminated_) return;
  PostQuitMessage(0);
}

void TApplication::ShowException(const std::exception& error) { ShowErrorText(ExceptionText(error)); }

void TApplication::ShowExceptionLater(const std::exception& error) {
  laterErrors_.push_back(ExceptionText(error));
  if (laterErrors_.size() == 1) PostMessageW(Handle(), kShowLaterErrors, 0, 0);
}

void TApplication::ShowErrorText(const std::wstring& text) {
  if (OnException) {
    OnException(text);
    return;
  }
  MessageDlg(text, title_.empty() ? L"Error" : title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageDlg(const std::wstring& text, const std::wstring& caption, UINT flags) {
  ModalScope modal(this);
  if (OnMessageDialog) return OnMessageDialog(text, flags);
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}

void TApplication::UpdateMouseControl() {
  POINT p;
  GetCursorPos(&p);
  TControl* found = nullptr;
  HWND window = WindowFromPoint(p);
  if (auto* control = TWinControl::FromHandle(window)) {
    found = control;
    POINT client = p;
    ScreenToClient(window, &client);
    if (TControl* child = control->ControlAtPos({client.x, client.y})) found = child;
  }
  if (found == mouseControl_) return;
  TControl* previous = mouseControl_;
  if (previous && previous != hintControl_) previous->RemoveFreeNotification(this);  // the hint may still watch it
  mouseControl_ = found;
  if (found) found->FreeNotification(this);
  if (previous) previous->Perform(CM_MOUSELEAVE);
  if (found && mouseControl_ == found) found->Perform(CM_MOUSEENTER);
  FollowHintTarget();
}

// ---------------------------------------------------------------------------------------------
// Hints

namespace {
int64_t HintClock() { return static_cast<int64_t>(GetTickCount64()); }
}  // namespace

void TApplication::SetHintColor(TColor value) {
  hintColor_ = value;
  if (hintWindow_.Showing()) ShowHintNow();
}

void TApplication::SetHintPause(int value) {
  hintPauses_.pause = std::max(0, value);
  hintSchedule_.SetPauses(hintPauses_);
}

void TApplication::SetHintShortPause(int value) {
  hintPauses_.shortPause = std::max(0, value);
  hintSchedule_.SetPauses(hintPauses_);
}

void TApplication::SetHintHidePause(int value) {
  hintPauses_.hidePause = std::max(0, value);
  hintSchedule_.SetPauses(hintPauses_);
}

void TApplication::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  FollowHintTarget();
}

TControl* TApplication::HintTarget(TControl* control) const {
  if (!showHint_) return nullptr;
  for (; control; control = control->Parent())
    if (control->ShowHint() && !control->Hint().empty()) return control;
  return nullptr;
}

void TApplication::SetHintControl(TControl* control) {
  if (hintControl_ == control) return;
  if (hintControl_ && hintControl_ != mouseControl_) hintControl_->RemoveFreeNotification(this);
  hintControl_ = control;
  if (hintControl_) hintControl_->FreeNotification(this);
}

void TApplication::FollowHintTarget() {
  TControl* target = HintTarget(mouseControl_);
  if (target && target == hintControl_) return;  // still within the same control's hint
  SetHintControl(target);
  const int64_t now = HintClock();
  ApplyHint(mouseControl_ ? hintSchedule_.Enter(target != nullptr, now) : hintSchedule_.Leave(now));
  ScheduleHintTimer();
}

void TApplication::HintChanged(TControl* control) {
  // Only the control under the mouse and its parents decide which hint applies.
  TControl* under = mouseControl_;
  while (under && under != control) under = under->Parent();
  if (!control || (!under && control != hintControl_)) return;
  if (control == hintControl_ && HintTarget(mouseControl_) == control) {
    if (hintWindow_.Showing()) ShowHintNow();  // the new text, in place
    return;
  }
  FollowHintTarget();
}

void TApplication::CancelHint() {
  ApplyHint(hintSchedule_.Dismiss());
  ScheduleHintTimer();
}

void TApplication::ApplyHint(hints::HintSchedule::Action action) {
  if (action == hints::HintSchedule::Action::Show) ShowHintNow();
  else if (action == hints::HintSchedule::Action::Hide) hintWindow_.Hide();
}

void TApplication::ShowHintNow() {
  if (!hintControl_ || hintControl_->Hint().empty()) {
    hintWindow_.Hide();
    return;
  }
  POINT cursor;
  GetCursorPos(&cursor);
  MONITORINFO monitor{sizeof(monitor)};
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor)) area = monitor.rcWork;
  // Below the cursor's picture: its hot spot is near its top.
  const POINT offset{0, GetSystemMetrics(SM_CYCURSOR) * 5 / 8};
  hintWindow_.Show(hintControl_->Hint(), cursor, offset, area, hintColor_);
}

void TApplication::ScheduleHintTimer() {
  const int64_t due = hintSchedule_.NextDue(HintClock());
  HWND window = Handle();
  if (!window) return;
  if (due < 0) {
    KillTimer(window, kHintTimer);
    return;
  }
  SetTimer(window, kHintTimer, static_cast<UINT>(std::max<int64_t>(1, std::min<int64_t>(due, 0x7FFFFFFF))), nullptr);
}

void TApplication::HintTimerDue() {
  ApplyHint(hintSchedule_.Tick(HintClock()));
  ScheduleHintTimer();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove) {
    if (component == mouseControl_) mouseControl_ = nullptr;
    if (component == hintControl_) {
      hintControl_ = nullptr;
      ApplyHint(hintSchedule_.Leave(HintClock()));
    }
    if (component == mainForm_) mainForm_ = nullptr;
  }
}
