// TPvWindowHook: lets code see every message of another control's window before and after the
// control's own window procedure handles it, without changing the control's class. One
// TControlHook per watched window joins the window's subclass chain (framework/WindowSubclass)
// and keeps the list of hook components connected to it; THookList holds the
// TControlHooks of the process and a hidden window through which a hook is installed again after
// its window was re-created, and released after its last component left.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Control.h"
#include "framework/Handles.h"
#include "framework/WindowSubclass.h"

class TPvWindowHook;

// Before or after the control's own procedure: the message (changeable) and a handled flag.
using THookMessageEvent = Event<TObject*, TMessage&, bool&>;

class TControlHook {
 public:
  explicit TControlHook(TWinControl* control);
  ~TControlHook();
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;

  TWinControl* Control() const { return control_; }
  void SetControl(TWinControl* control) { control_ = control; }
  bool Installed() const { return link_.Installed(); }
  const std::vector<TPvWindowHook*>& Hooks() const { return hooks_; }
  void AddHook(TPvWindowHook* hook);
  void RemoveHook(TPvWindowHook* hook);
  void Install();
  void Uninstall();

 private:
  LRESULT Handle(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  bool CallHandlers(TMessage& message, bool before);

  TWinControl* control_;              // borrowed: the watched control
  WindowSubclass link_;               // this hook's place in the window's subclass chain
  std::vector<TPvWindowHook*> hooks_; // borrowed: connected hook components, in connection order
  bool destroying_ = false;
};

class THookList {
 public:
  // The list of the process, created on first use.
  static THookList& Instance();
  static bool Exists();
  ~THookList();

  TControlHook* Find(TWinControl* control) const;
  TControlHook* FindOrCreate(TWinControl* control);
  bool Contains(const TControlHook* hook) const;
  // Deferred requests handled by the list's hidden window after the current message.
  void PostReinstall(TControlHook* hook);
  void PostRelease(TControlHook* hook);

  static constexpr UINT kReinstallMessage = 0xB052;
  static constexpr UINT kReleaseMessage = 0xB053;

 private:
  THookList();
  static LRESULT CALLBACK UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  std::vector<std::unique_ptr<TControlHook>> hooks_;
  UniqueWindow utility_;
};

class TPvWindowHook : public TComponent {
 public:
  explicit TPvWindowHook(TComponent* owner);
  ~TPvWindowHook() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Active() const { return active_; }
  void SetActive(bool value);
  TWinControl* WinControl() const { return control_; }
  void SetWinControl(TWinControl* control);

  THookMessageEvent BeforeMessage;
  THookMessageEvent AfterMessage;

  void HookControl();
  void UnhookControl();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void BeforeDestruction() override;
  void Loaded() override;

 private:
  TWinControl* control_ = nullptr;  // borrowed: the watched control
  bool active_ = true;
};
