// The application object: initialisation (common controls, COM), the title, creation of forms
// from their layout, the message loop with keyboard navigation and idle mouse tracking,
// processing of pending messages, the count of open modal operations, and the error display.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Form.h"
#include "framework/HintSchedule.h"
#include "framework/HintWindow.h"

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  void Initialize();
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);
  // The hidden application window (owner of the taskbar commands posted to the application).
  HWND Handle();

  // Creates a form owned by the application; it reads its layout in its constructor. The first
  // form created becomes the main form. OnCreate runs before this returns.
  template <class F>
  F* CreateForm() {
    struct Creating {
      int& count;
      explicit Creating(int& c) : count(++c) {}
      ~Creating() { --count; }
    } creating(creatingForms_);
    F* form = new F(this);
    if (!mainForm_) mainForm_ = form;
    form->DoCreate();
    return form;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The error display: a message box with the error's text; the program goes on.
  void ShowException(const std::exception& error);
  // Replaces the message box of the error display (tests record the texts instead).
  std::function<void(const std::wstring&)> OnException;
  // The error display once the messages waiting now have been handled, and not before Run has
  // shown the main form: for errors found while the main window is being made.
  void ShowExceptionLater(const std::exception& error);

  // A message box that counts as a modal operation (see InModalOperation).
  int MessageDlg(const std::wstring& text, const std::wstring& caption, UINT flags);
  // Replaces the message box of MessageDlg and answers for the user (tests record the texts and
  // pick the button).
  std::function<int(const std::wstring& text, UINT flags)> OnMessageDialog;
  // Whether a modal box or dialog of this program is open; window activation that it causes
  // must not start work that the box's caller does not expect.
  bool InModalOperation() const { return modalLevel_ > 0; }
  class ModalScope {
   public:
    explicit ModalScope(TApplication* app) : app_(app) {
      if (app_) ++app_->modalLevel_;
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    ~ModalScope() {
      if (app_) --app_->modalLevel_;
    }

   private:
    TApplication* app_;  // borrowed, may be null
  };

  // Mouse tracking: the control under the mouse gets CM_MOUSEENTER / CM_MOUSELEAVE.
  void UpdateMouseControl();
  TControl* MouseControl() const { return mouseControl_; }

  // Hints: while the mouse rests on a control (or a child of one) with a Hint and ShowHint on,
  // the application's hint window shows that hint after HintPause ms, moves on to the next
  // control's hint after HintShortPause ms, and hides after HintHidePause ms (0: stays), when
  // the mouse leaves, or on a click or key. ShowHint off shows no hints at all.
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor value);
  int HintPause() const { return hintPauses_.pause; }
  void SetHintPause(int value);
  int HintShortPause() const { return hintPauses_.shortPause; }
  void SetHintShortPause(int value);
  int HintHidePause() const { return hintPauses_.hidePause; }
  void SetHintHidePause(int value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  // The hint window (its Handle is nullptr while no hint shows) and the control it is for.
  const THintWindow& HintWindow() const { return hintWindow_; }
  TControl* HintControl() const { return hintControl_; }
  // Hides the hint until the mouse comes onto another control (a click or a key does this).
  void CancelHint();
  // A control's hint changed, or the control under the mouse changed its mind about hints.
  void HintChanged(TControl* control);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool ProcessMessage(MSG& msg);
  // The control whose hint applies at `control`: it or the nearest parent with a hint to show.
  TControl* HintTarget(TControl* control) const;
  void SetHintControl(TControl* control);
  void FollowHintTarget();
  void ApplyHint(hints::HintSchedule::Action action);
  void ShowHintNow();
  void ScheduleHintTimer();
  void HintTimerDue();
  void ShowErrorText(const std::wstring& text);
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  std::wstring title_;
  UniqueWindow window_;
  TForm* mainForm_ = nullptr;       // borrowed: owned as a component
  TControl* mouseControl_ = nullptr; // borrowed: the control under the mouse
  bool terminated_ = false;
  int modalLevel_ = 0;
  bool comInitialized_ = false;
  std::vector<std::wstring> laterErrors_;  // for ShowExceptionLater
  bool running_ = false;                    // Run has shown the main form
  int creatingForms_ = 0;                   // CreateForm calls under way
  TColor hintColor_ = clInfoBk;
  hints::HintPauses hintPauses_;
  bool showHint_ = true;
  hints::HintSchedule hintSchedule_;
  THintWindow hintWindow_;
  TControl* hintControl_ = nullptr;  // borrowed: the control whose hint is waiting or shown
};

extern TApplication* Application;
