// See ShellChangeNotifier.h.
#include "filelist/ShellChangeNotifier.h"

#include <shlobj.h>

#include "framework/Exception.h"
#include "framework/WindowClass.h"

namespace {

constexpr wchar_t kWindowClass[] = L"BrenvaleShellChangeWindow";
// Posted to the private window when a hold ends with changes kept.
constexpr UINT kDeliverHeld = WM_APP + 0x31;
constexpr WORD kRegisterOrdinal = 2;
constexpr WORD kDeregisterOrdinal = 4;

std::wstring shellModule = L"shell32.dll";
WORD registerOrdinal = kRegisterOrdinal;

// One entry of the registration: the item watched and whether its whole subtree is.
struct NotifyEntry {
  LPCITEMIDLIST item;
  BOOL recursive;
};

std::wstring PathOf(LPCITEMIDLIST item) {
  if (!item) return {};
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item, path)) return {};
  return path;
}

}  // namespace

void ShellChangeNotifier::OverrideShellModule(const wchar_t* moduleName, WORD ordinal) {
  shellModule = moduleName && *moduleName ? moduleName : L"shell32.dll";
  registerOrdinal = ordinal ? ordinal : kRegisterOrdinal;
}

ShellChangeNotifier::ShellChangeNotifier(long events, Callback callback) : callback_(std::move(callback)) {
  shell_.reset(LoadLibraryW(shellModule.c_str()));
  if (!shell_) throw Exception(L"Unable to load Shell32.dll");
  auto registerChanges = reinterpret_cast<RegisterFunction>(
      reinterpret_cast<void*>(GetProcAddress(shell_.get(), MAKEINTRESOURCEA(registerOrdinal))));
  deregister_ = reinterpret_cast<DeregisterFunction>(
      reinterpret_cast<void*>(GetProcAddress(shell_.get(), MAKEINTRESOURCEA(kDeregisterOrdinal))));
  if (!registerChanges || !deregister_) throw Exception(L"Unable to link to function SHChangeNotifyRegister");

  RegisterWindowClassOnce(kWindowClass, &ShellChangeNotifier::Proc);
  window_.reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw Exception(L"Unable to register SHChangeNotify");
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  // The desktop, with everything below it: every drive and folder.
  LPITEMIDLIST desktop = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop);
  UniqueItemIdList desktopItem(desktop);
  NotifyEntry entry{desktopItem.get(), TRUE};
  registration_ = registerChanges(window_.get(), SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                  events, kNotifyMessage, 1, &entry);
  if (!registration_) throw Exception(L"Unable to register SHChangeNotify");
}

ShellChangeNotifier::~ShellChangeNotifier() {
  *alive_ = false;
  if (registration_ && deregister_) deregister_(registration_);
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK ShellChangeNotifier::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ShellChangeNotifier*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && msg == kNotifyMessage) {
    self->Receive(wParam, lParam);
    return 0;
  }
  if (self && msg == kDeliverHeld) {
    self->DeliverHeld();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void ShellChangeNotifier::Receive(WPARAM wParam, LPARAM lParam) {
  LPITEMIDLIST* items = nullptr;
  LONG event = 0;
  HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &items, &event);
  if (!lock) return;  // a stale or foreign message: nothing to read
  Change change;
  change.event = event;
  if (items) {
    change.path = PathOf(items[0]);
    change.path2 = PathOf(items[1]);
  }
  SHChangeNotification_Unlock(lock);
  ++received_;
  if (holds_ > 0) {
    held_.push_back(std::move(change));
    return;
  }
  Deliver(change);
}

void ShellChangeNotifier::Deliver(const Change& change) {
  if (callback_) callback_(change);
}

void ShellChangeNotifier::DeliverHeld() {
  if (holds_ > 0) return;  // held again meanwhile: the next release posts again
  std::vector<Change> changes;
  changes.swap(held_);
  std::shared_ptr<bool> alive = alive_;
  for (const Change& change : changes) {
    if (!*alive || holds_ > 0) {
      // The callback destroyed the owner, or started a hold: keep what is left for later.
      if (*alive) held_.insert(held_.end(), changes.begin() + (&change - changes.data()), changes.end());
      return;
    }
    Deliver(change);
  }
}

ShellChangeNotifier::HoldScope::HoldScope(ShellChangeNotifier* notifier) : notifier_(notifier) {
  if (notifier_) ++notifier_->holds_;
}

ShellChangeNotifier::HoldScope::~HoldScope() {
  if (!notifier_) return;
  if (--notifier_->holds_ == 0 && !notifier_->held_.empty())
    PostMessageW(notifier_->window_.get(), kDeliverHeld, 0, 0);
}
