// See sDragBar.h.
#include "controls/sDragBar.h"

#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

// Watches the application's window for activation changes (WM_ACTIVATEAPP reaches top-level
// windows only; the bar is a child).
LRESULT CALLBACK ApplicationProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_ACTIVATEAPP) {
    try {
      reinterpret_cast<TsDragBar*>(data)->ApplicationActivationChanged(wParam != 0);
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  return DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace

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

TsDragBar::~TsDragBar() { applicationWatch_.reset(); }

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
  if (Application && Application->Handle() && !applicationWatch_)
    applicationWatch_ = std::make_unique<TsApplicationWatch>(Application->Handle(), &ApplicationProc,
                                                             reinterpret_cast<DWORD_PTR>(this),
                                                             reinterpret_cast<UINT_PTR>(this));
}

void TsDragBar::DestroyWnd() {
  applicationWatch_.reset();
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
