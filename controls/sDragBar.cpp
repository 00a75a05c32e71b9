// See sDragBar.h.
#include "controls/sDragBar.h"

#include "framework/Application.h"
#include "framework/Form.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

const ClassInfo& TsDragBar::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsDragBar>(L"TsDragBar", &TsPanel::StaticClass())
          .Object(L"DraggedControl", TWinControl::StaticClass(), &TsDragBar::DraggedControl, &TsDragBar::SetDraggedControl)
          .Build());
  return info;
}

TsDragBar::TsDragBar(TComponent* owner) : TsPanel(owner, ekDragBar) {
  SetCaption(L" ");
  SetAlign(TAlign::alTop);
  SetHeight(20);
  Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
  Font()->SetColor(clCaptionText);
  SetColor(clActiveCaption);
  SetCursor(TCursor::crHandPoint);
  if (!IsLoading()) skinData_.AfterLoad();  // read from a layout, Loaded does it
}

TsDragBar::~TsDragBar() { applicationWatch_.Remove(); }

void TsDragBar::SetDraggedControl(TWinControl* control) {
  if (control == draggedControl_) return;
  if (draggedControl_) RemoveFreeNotification(draggedControl_);
  draggedControl_ = control;
  if (draggedControl_) FreeNotification(draggedControl_);
}

TWinControl* TsDragBar::DragTarget() const {
  if (draggedControl_) return draggedControl_;
  TWinControl* top = Parent();
  while (top && top->Parent()) top = top->Parent();
  return top;
}

void TsDragBar::Loaded() {
  TsPanel::Loaded();
  // A bar read from a form without a control to drag moves that form.
  if (!draggedControl_) SetDraggedControl(dynamic_cast<TForm*>(Owner()));
}

void TsDragBar::Notification(TComponent* component, TOperation operation) {
  TsPanel::Notification(component, operation);
  if (operation == TOperation::opRemove && component == draggedControl_) draggedControl_ = nullptr;
}

void TsDragBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TsPanel::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  TWinControl* target = DragTarget();
  if (!target || !target->HandleAllocated()) return;
  // The platform's own move loop, as if the target's title bar were pressed.
  ReleaseCapture();
  SendMessageW(target->Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TsDragBar::CreateWindowDone() {
  TsPanel::CreateWindowDone();
  // WM_ACTIVATEAPP reaches top-level windows only and the bar is a child: it watches the
  // application's window.
  if (Application && Application->Handle() && !applicationWatch_.Installed())
    applicationWatch_.Install(Application->Handle(), [this](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
      if (msg == WM_ACTIVATEAPP) ApplicationActivationChanged(wParam != 0);
      return false;
    });
}

void TsDragBar::DestroyWnd() {
  applicationWatch_.Remove();
  TsPanel::DestroyWnd();
}

void TsDragBar::ApplicationActivationChanged(bool active) {
  Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
  skinData_.InvalidateCache();
}

bool TsDragBar::SkinMessage(TMessage& m) {
  if (m.Msg == SM_LACQUERCMD) {
    switch (SkinCommandOf(m.WParam)) {
      case scApplicationActivated:
        ApplicationActivationChanged(true);
        return true;
      case scSkinRemoved:
        // Without the skin the bar shows the platform's active caption colours again.
        if (reinterpret_cast<TsSkinManager*>(m.LParam) == skinData_.SkinManager()) {
          Font()->SetColor(clCaptionText);
          SetColor(clActiveCaption);
        }
        break;
      default:
        break;
    }
  }
  return TsPanel::SkinMessage(m);
}
