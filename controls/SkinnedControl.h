// The one place where a framework control gets its skin state wired in: the state lives with
// the control, the control's own skin handling runs first (SkinMessage), then the state's
// common handling, then the framework's.
#pragma once

#include <string>

#include "framework/Strings.h"
#include "paint/sCommonData.h"
#include "skin/SkinCommands.h"

template <class Base>
class TsSkinnedControl : public Base, public TsSkinnedElement {
 public:
  TsSkinnedControl(TComponent* owner, int kind) : Base(owner), skinData_(this, kind) {}
  TsCommonData* SkinData() override { return &skinData_; }

  std::wstring SkinSection() const { return bv::Utf8ToWide(skinData_.SkinSection()); }
  void SetSkinSection(const std::wstring& value) { skinData_.SetSkinSection(bv::WideToUtf8(value)); }

 protected:
  // The control's own handling before the common one; true when the message is done.
  virtual bool SkinMessage(TMessage&) { return false; }

  void WndProc(TMessage& m) override {
    if (SkinMessage(m)) return;
    if (skinData_.HandleCommonMessage(m) && m.Msg == SM_LACQUERCMD) return;
    Base::WndProc(m);
  }

  // The framework tells these through virtual calls; the skin state hears of them here.
  void EnabledChanged() override {
    TMessage m{CM_ENABLEDCHANGED};
    skinData_.HandleCommonMessage(m);
    Base::EnabledChanged();
  }
  void VisibleChanged() override {
    TMessage m{CM_VISIBLECHANGED};
    skinData_.HandleCommonMessage(m);
    Base::VisibleChanged();
  }

  void Loaded() override {
    Base::Loaded();
    skinData_.AfterLoad();
  }

  TsCommonData skinData_;
};
