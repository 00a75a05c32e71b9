// Forms: top-level windows with their life-cycle events (OnCreate after the layout was read,
// OnShow just before the window first becomes visible, OnActivate, OnResize, OnCloseQuery,
// OnClose, OnDestroy while every component is still there), the window state, border style and
// border icons, the active control and keyboard navigation between controls.
#pragma once

#include "framework/Control.h"

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

const TypeInfo& WindowStateType();

class TMainMenu;

class TForm : public TCustomControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  // Every form of the process in creation order (the skin manager's broadcasts walk it).
  static const std::vector<TForm*>& AllForms();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Raises OnCreate; the creator calls it once the layout has been read (TApplication::CreateForm).
  void DoCreate();
  void Show();
  void Hide();
  // Asks OnCloseQuery; when allowed raises OnClose and hides the form (the main form ends the
  // application instead).
  void Close();
  bool CloseQuery();
  bool Active() const { return active_; }

  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TFormStyle FormStyle() const { return formStyle_; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }

  // The form's main menu (borrowed; a component the form or another owner frees), or nullptr.
  // The skinned frame shows its top items in a menu band above the client area; a change lays
  // the frame out anew.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Moves the focus to the next (or previous) focusable tab stop after `current`.
  void SelectNext(TWinControl* current, bool forward);
  // Keyboard navigation keys (Tab, Shift+Tab) for a message about to be dispatched; true when
  // the form used it.
  bool HandleDialogKey(const MSG& message);

  void SetVisible(bool visible) override;
  bool Showing() const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseQueryEvent OnCloseQuery;
  Event<TObject*, TCloseAction&> OnClose;
  TNotifyEvent OnDestroy;

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void WndProc(TMessage& message) override;
  void BeforeDestruction() override;
  void Notification(TComponent* component, TOperation operation) override;
  void FocusChanged(TWinControl* focused) override;
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }
  virtual void Activate() { OnActivate(this); }
  virtual void Deactivate() { OnDeactivate(this); }

 private:
  void ApplyWindowState();
  std::vector<TWinControl*> FocusOrder() const;

  TWindowState windowState_ = TWindowState::wsNormal;
  TPosition position_ = TPosition::poDesigned;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
  TMainMenu* menu_ = nullptr;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  int pixelsPerInch_ = 96;
  TWinControl* activeControl_ = nullptr;  // borrowed: a control on this form
  bool active_ = false;
  bool shownOnce_ = false;
  bool destroyed_ = false;
};
