// See sButton.h.
#include "controls/sButton.h"

const ClassInfo& TsButton::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsButton>(L"TsButton", &TWinControl::StaticClass())
          .String(L"SkinSection", &TsButton::SkinSection, &TsButton::SetSkinSection)
          .Build());
  return info;
}

TsButton::TsButton(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TsButton::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = L"BUTTON";
  p.style |= BS_PUSHBUTTON;
}

void TsButton::Click() { TWinControl::Click(); }

void TsButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED && Enabled()) Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}
