// Controls: TControl (position, size, alignment, visibility, caption, font, mouse events and a
// framework-level message chain), TGraphicControl (drawn by its parent, no window of its own),
// TWinControl (owns a window: creation, superclassing of native controls, notification
// reflection, focus, tab order, child alignment) and TCustomControl (a window that paints
// itself and its graphic children double-buffered).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Event.h"
#include "framework/Geometry.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Messages.h"

class TWinControl;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : uint32_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = uint32_t;
// The shift state of the keyboard (and mouse buttons) right now.
TShiftState CurrentShiftState();

using TMouseEvent = Event<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = Event<TObject*, TShiftState, int, int>;
using TKeyEvent = Event<TObject*, WORD&, TShiftState>;

enum class TCursor { crDefault, crArrow, crHandPoint, crHourGlass, crIBeam };
HCURSOR CursorHandle(TCursor cursor);

const TypeInfo& AlignType();

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect BoundsRect() const { return Rect::FromSize(left_, top_, width_, height_); }
  virtual Rect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  TFont* Font() { return &font_; }
  const TFont* Font() const { return &font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  // Visible, and every parent up to a top-level window visible too.
  virtual bool Showing() const;
  bool MouseInControl() const { return mouseInControl_; }
  // The text the application's hint window shows while the mouse rests on the control ("\r"
  // starts a new line); shown only with ShowHint on (see TApplication::ShowHint).
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);

  // Runs the message through the taken-over handlers (newest first) and then WndProc.
  void Dispatch(TMessage& message);
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Framework-level take-over of this control's messages. A hook gets the message and the next
  // handler, which it may call or not. Hooks can be added and removed in any order, also while
  // a message is being handled; a removed hook is skipped from then on.
  using NextHandler = std::function<void(TMessage&)>;
  using MessageHook = std::function<void(TMessage&, const NextHandler&)>;
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);

  virtual void Click();
  // A double-click with the left button; raises OnDblClick unless a control decides otherwise.
  virtual void DblClick();
  virtual void Invalidate();
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;
  // The control's top-left corner in its parent's client area, walking up to a window.
  Point ClientOrigin() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  friend class TWinControl;
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage&) {}
  virtual void Paint(HDC) {}
  virtual void Resize() { OnResize(this); }
  virtual void TextChanged() {}
  virtual void FontChanged() { Invalidate(); }
  virtual void EnabledChanged() { Invalidate(); }
  virtual void VisibleChanged();
  virtual void ColorChanged() { Invalidate(); }
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Whether a left-button release over the control counts as a click (native buttons report
  // their clicks through notifications instead).
  virtual bool ClicksOnMouseUp() const { return true; }
  // Stores new bounds without moving a window (windows report their moves through this).
  void UpdateBoundsRect(const Rect& r);
  void RequestAlign();

  std::wstring caption_;
  TFont font_;
  TColor color_ = clBtnFace;

 private:
  struct HookEntry {
    int id;
    std::shared_ptr<MessageHook> hook;
  };
  void CallHook(const std::vector<HookEntry>& chain, size_t index, TMessage& message);
  bool HookAlive(int id) const;
  void ParentFontChanged();

  TWinControl* parent_ = nullptr;  // borrowed: the parent does not own its children (owners do)
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool mouseInControl_ = false;
  bool showHint_ = false;
  std::wstring hint_;
  bool leftButtonDown_ = false;
  TCursor cursor_ = TCursor::crDefault;
  std::vector<HookEntry> hooks_;
  int nextHookId_ = 1;
};

// A control without a window: its parent paints it and hands it the mouse.
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The window, created (with the parents' windows) when first asked for.
  HWND Handle();
  bool HandleAllocated() const { return window_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // The object of one of the framework's windows, or nullptr.
  static TWinControl* FromHandle(HWND window);
  void RecreateWnd();

  void SetBounds(int left, int top, int width, int height) override;
  Rect ClientRect() const override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool Showing() const override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // The visible, enabled graphic child at a client point, the last painted (topmost) first.
  TControl* ControlAtPos(Point clientPoint) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // The windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return tabList_; }
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  void AlignControls();
  void Invalidate() override;
  void Update();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;

 protected:
  struct CreateParamsRecord {
    std::wstring caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parentWindow = nullptr;  // borrowed
    std::wstring windowClassName;  // registered under this name (the control's class name)
    std::wstring superclassOf;     // native class to build on ("BUTTON", "SysListView32"), or empty
    UINT classStyle = CS_DBLCLKS;
  };
  virtual void CreateParams(CreateParamsRecord& params);
  virtual void CreateWnd();
  // Runs after the window (and its children's windows) exist: apply fonts, styles, state.
  virtual void CreateWindowDone();
  virtual void DestroyWnd();
  // A window inside this top-level control got the keyboard focus (forms remember it).
  virtual void FocusChanged(TWinControl*) {}

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  // Paints the graphic children into `dc` (client coordinates of this control).
  void PaintControls(HDC dc, const RECT& area);
  void FontChanged() override;
  void TextChanged() override;
  void ColorChanged() override;

 private:
  friend class TControl;
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void CreateChildWindows();
  void HandleWindowPosChanged(const WINDOWPOS& pos);
  bool ForwardMouseToGraphicChild(TMessage& message);
  LRESULT ReflectNotification(HWND child, TMessage& message);

  HWND window_ = nullptr;      // owned: destroyed by DestroyWnd
  WNDPROC defaultProc_ = nullptr;
  std::vector<TControl*> controls_;     // borrowed children in creation order
  std::vector<TWinControl*> tabList_;   // borrowed windowed children in tab order
  bool tabStop_ = false;
  bool aligning_ = false;
  TControl* captureControl_ = nullptr;  // borrowed: graphic child that got the mouse button
};

// A window that paints itself (Paint) and its graphic children, double-buffered.
class TCustomControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

 protected:
  void WndProc(TMessage& message) override;
  // Paints the background (the control's colour by default) and the control itself.
  void Paint(HDC dc) override;
};
