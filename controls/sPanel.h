// TsPanel: a panel that holds other controls, with optional raised or lowered bevels and a
// centred caption. The skin section names the look the skin engine gives it.
#pragma once

#include "framework/Control.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
const TypeInfo& PanelBevelType();

class TsPanel : public TCustomControl {
 public:
  explicit TsPanel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  const std::wstring& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::wstring& value) { skinSection_ = value; }
  Rect ClientRect() const override;

 protected:
  void Paint(HDC dc) override;
  void TextChanged() override { Invalidate(); }

 private:
  int BorderSize() const;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
  std::wstring skinSection_ = L"PANEL";
};
