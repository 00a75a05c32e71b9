// ShellChangeNotifier: the shell's change notifications for the whole name space (folders made,
// removed or renamed, drives and media coming and going), registered through shell32's
// exported registration functions and delivered to a private message window, which hands each
// change to a callback. While a holder (HoldScope) says the owner is rebuilding, changes are
// kept and handed over once the hold ends, so a callback never runs in the middle of a rebuild.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"

class ShellChangeNotifier {
 public:
  // The message the shell posts to the private window.
  static constexpr UINT kNotifyMessage = WM_USER + 2;
  // The events the directory trees watch.
  static constexpr long kFolderEvents = SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED |
                                        SHCNE_DRIVEREMOVED | SHCNE_DRIVEADD | SHCNE_RENAMEFOLDER;

  struct Change {
    long event = 0;     // one SHCNE_ value
    std::wstring path;  // the item's file-system path, empty when it has none
    std::wstring path2; // the new path of a rename, else empty
  };
  using Callback = std::function<void(const Change& change)>;

  // Registers for `events`. Throws Exception with "Unable to load Shell32.dll", "Unable to link
  // to function SHChangeNotifyRegister" or "Unable to register SHChangeNotify".
  ShellChangeNotifier(long events, Callback callback);
  ~ShellChangeNotifier();
  ShellChangeNotifier(const ShellChangeNotifier&) = delete;
  ShellChangeNotifier& operator=(const ShellChangeNotifier&) = delete;

  HWND Window() const { return window_.get(); }
  bool Held() const { return holds_ > 0; }
  // Changes received so far (delivered or still held), for tests and diagnostics.
  int Received() const { return received_; }

  // Holds delivery while it lives (nests): changes arriving meanwhile are delivered, in order,
  // after the last hold ends (through a posted message, never from inside the destructor).
  class HoldScope {
   public:
    explicit HoldScope(ShellChangeNotifier* notifier);
    ~HoldScope();
    HoldScope(const HoldScope&) = delete;
    HoldScope& operator=(const HoldScope&) = delete;

   private:
    ShellChangeNotifier* notifier_;  // borrowed; may be nullptr
  };

  // The test seam for the shell32 lookups: a module name and the ordinal looked up for
  // registering. Tests use it to see construction fail; empty values restore the defaults.
  static void OverrideShellModule(const wchar_t* moduleName, WORD registerOrdinal);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Receive(WPARAM wParam, LPARAM lParam);
  void DeliverHeld();
  void Deliver(const Change& change);

  using RegisterFunction = ULONG(WINAPI*)(HWND, int, LONG, UINT, int, const void*);
  using DeregisterFunction = BOOL(WINAPI*)(ULONG);

  Callback callback_;
  UniqueModule shell_;
  UniqueWindow window_;
  DeregisterFunction deregister_ = nullptr;
  ULONG registration_ = 0;
  int holds_ = 0;
  int received_ = 0;
  std::vector<Change> held_;
  // Cleared when this goes away: a delivery running when the callback destroys its owner sees it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
