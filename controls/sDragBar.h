// TsDragBar: a skinned panel ("DRAGBAR") that moves another control, usually its form, when the
// left button is pressed on it, as a title bar does. Its caption follows the platform's active
// and inactive caption colours as the application gains and loses activation.
#pragma once

#include "controls/sPanel.h"
#include "framework/WindowSubclass.h"

class TsDragBar : public TsPanel {
 public:
  explicit TsDragBar(TComponent* owner);
  ~TsDragBar() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The control that a press on the bar moves; nullptr: the bar's form.
  TWinControl* DraggedControl() const { return draggedControl_; }
  void SetDraggedControl(TWinControl* control);
  // The control a press moves now: DraggedControl, or else the form the bar is on.
  TWinControl* DragTarget() const;

  // The caption colour for an active (or inactive) application.
  void ApplicationActivationChanged(bool active);

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void CreateWindowDone() override;
  void DestroyWnd() override;
  bool SkinMessage(TMessage& message) override;

 private:
  TWinControl* draggedControl_ = nullptr;  // borrowed; cleared when it is freed
  WindowSubclass applicationWatch_;  // the application window's activation
};
