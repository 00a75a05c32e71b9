// TsButton: a push button. It reports its click through the reflected BN_CLICKED notification.
#pragma once

#include "framework/Control.h"

class TsButton : public TWinControl {
 public:
  explicit TsButton(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::wstring& value) { skinSection_ = value; }
  // Presses the button from code, as a click would.
  void Click() override;

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void WndProc(TMessage& message) override;
  bool ClicksOnMouseUp() const override { return false; }

 private:
  std::wstring skinSection_ = L"BUTTON";
};
