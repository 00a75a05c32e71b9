// See WindowHook.h.
#include "settings/WindowHook.h"

#include <algorithm>

#include "framework/AppServices.h"

namespace {
std::unique_ptr<THookList>& ListSlot() {
  static std::unique_ptr<THookList> list;
  return list;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TControlHook

TControlHook::TControlHook(TWinControl* control) : control_(control) {}

TControlHook::~TControlHook() {
  destroying_ = true;
  Uninstall();
}

void TControlHook::AddHook(TPvWindowHook* hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}

void TControlHook::RemoveHook(TPvWindowHook* hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void TControlHook::Install() {
  if (!control_ || control_->IsDesigning() || control_->IsDestroying() || destroying_) return;
  HWND window = control_->Handle();  // creates the window when it does not exist yet
  if (link_.Window() == window) return;
  link_.Install(window, [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The link leaves the chain by itself when the window goes; the hooks heard WM_DESTROY.
    if (msg == WM_NCDESTROY) return false;
    result = Handle(hwnd, msg, wParam, lParam);
    return true;
  });
}

void TControlHook::Uninstall() { link_.Remove(); }

bool TControlHook::CallHandlers(TMessage& message, bool before) {
  if (destroying_ || !control_ || control_->IsDestroying() || hooks_.empty()) return false;
  std::vector<TPvWindowHook*> hooks = hooks_;  // a handler may disconnect hooks
  bool handled = false;
  for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it) {
    TPvWindowHook* hook = *it;
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) continue;
    try {
      if (before) hook->BeforeMessage(hook, message, handled);
      else hook->AfterMessage(hook, message, handled);
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  return handled;
}

LRESULT TControlHook::Handle(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The rest of the chain is reached through the window itself: a handler may take this link
  // out of the chain while the message is on its way.
  auto callNext = [&](TMessage& m) { m.Result = DefSubclassProc(window, m.Msg, m.WParam, m.LParam); };
  TMessage message{msg, wParam, lParam, 0};
  if (!control_) {
    callNext(message);
    return message.Result;
  }
  bool handled = msg != WM_QUIT && CallHandlers(message, true);
  if (!handled || msg == WM_DESTROY) {
    callNext(message);
    CallHandlers(message, false);
  }
  if (msg == WM_DESTROY) {
    Uninstall();
    // A window destroyed and created again (some style changes do that) gets the hook back.
    if (THookList::Exists() && !destroying_ && control_ && !control_->IsDestroying())
      THookList::Instance().PostReinstall(this);
  }
  return message.Result;
}

// ---------------------------------------------------------------------------------------------
// THookList

THookList& THookList::Instance() {
  auto& slot = ListSlot();
  if (!slot) slot.reset(new THookList);
  return *slot;
}

bool THookList::Exists() { return static_cast<bool>(ListSlot()); }

THookList::THookList() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = UtilityProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"THookListWindow";
  RegisterClassExW(&wc);
  utility_.reset(CreateWindowExW(0, L"THookListWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
}

THookList::~THookList() = default;

TControlHook* THookList::Find(TWinControl* control) const {
  for (const auto& hook : hooks_)
    if (hook->Control() == control) return hook.get();
  return nullptr;
}

TControlHook* THookList::FindOrCreate(TWinControl* control) {
  if (TControlHook* found = Find(control)) return found;
  hooks_.push_back(std::make_unique<TControlHook>(control));
  return hooks_.back().get();
}

bool THookList::Contains(const TControlHook* hook) const {
  return std::any_of(hooks_.begin(), hooks_.end(), [hook](const auto& h) { return h.get() == hook; });
}

void THookList::PostReinstall(TControlHook* hook) {
  PostMessageW(utility_.get(), kReinstallMessage, 0, reinterpret_cast<LPARAM>(hook));
}

void THookList::PostRelease(TControlHook* hook) {
  PostMessageW(utility_.get(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(hook));
}

LRESULT CALLBACK THookList::UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if ((msg == kReinstallMessage || msg == kReleaseMessage) && THookList::Exists()) {
    try {
      THookList& list = Instance();
      auto* hook = reinterpret_cast<TControlHook*>(lParam);
      if (!list.Contains(hook)) return 0;
      if (msg == kReinstallMessage) {
        hook->Install();
      } else if (hook->Hooks().empty()) {
        auto& hooks = list.hooks_;
        hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [hook](const auto& h) { return h.get() == hook; }),
                    hooks.end());
      }
    } catch (const std::exception& e) {
      HandleException(e);
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// TPvWindowHook

const ClassInfo& TPvWindowHook::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TPvWindowHook>(L"TPvWindowHook", &TComponent::StaticClass())
          .Boolean(L"Active", &TPvWindowHook::Active, &TPvWindowHook::SetActive)
          .Object(L"WinControl", TWinControl::StaticClass(), &TPvWindowHook::WinControl, &TPvWindowHook::SetWinControl)
          .Build());
  return info;
}

TPvWindowHook::TPvWindowHook(TComponent* owner) : TComponent(owner) {}

TPvWindowHook::~TPvWindowHook() = default;

void TPvWindowHook::BeforeDestruction() {
  UnhookControl();
  TComponent::BeforeDestruction();
}

void TPvWindowHook::Loaded() {
  TComponent::Loaded();
  if (active_) HookControl();
}

void TPvWindowHook::SetActive(bool value) {
  if (value) HookControl();
  else UnhookControl();
}

void TPvWindowHook::SetWinControl(TWinControl* control) {
  if (control == control_) return;
  bool wasActive = active_;
  TControlHook* old = control_ && THookList::Exists() ? THookList::Instance().Find(control_) : nullptr;
  UnhookControl();
  if (control_) control_->RemoveFreeNotification(this);
  control_ = control;
  if (control_) control_->FreeNotification(this);
  if (old && old->Hooks().empty()) THookList::Instance().PostRelease(old);
  if (wasActive) HookControl();
}

void TPvWindowHook::HookControl() {
  if (IsDestroying() || !control_) {
    active_ = true;
    return;
  }
  if (IsLoading()) {
    active_ = true;  // connects when loading is over
    return;
  }
  TControlHook* hook = THookList::Instance().FindOrCreate(control_);
  hook->AddHook(this);
  hook->SetControl(control_);
  hook->Install();
  active_ = true;
}

void TPvWindowHook::UnhookControl() {
  if (control_ && THookList::Exists()) {
    if (TControlHook* hook = THookList::Instance().Find(control_)) {
      hook->RemoveHook(this);
      if (hook->Hooks().empty()) {
        hook->Uninstall();
        if (control_->IsDestroying()) hook->SetControl(nullptr);
        THookList::Instance().PostRelease(hook);
      }
    }
  }
  active_ = false;
}

void TPvWindowHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == control_) {
    bool wasActive = active_;
    UnhookControl();
    control_ = nullptr;
    active_ = wasActive;
  }
}
