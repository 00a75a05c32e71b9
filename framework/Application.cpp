// See Application.h.
#include "framework/Application.h"

#include <commctrl.h>
#include <objbase.h>

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
  if (msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
  }
  if (Application) Application->UpdateMouseControl();
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
  if (previous) previous->RemoveFreeNotification(this);
  mouseControl_ = found;
  if (found) found->FreeNotification(this);
  if (previous) previous->Perform(CM_MOUSELEAVE);
  if (found && mouseControl_ == found) found->Perform(CM_MOUSEENTER);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove) {
    if (component == mouseControl_) mouseControl_ = nullptr;
    if (component == mainForm_) mainForm_ = nullptr;
  }
}
