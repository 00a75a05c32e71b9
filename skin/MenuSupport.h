// The skin manager's menu settings (property MenuSupport): the section of the icon column and
// the optional vertical extra line of pop-up menus with its width and font. Plain data; the menu
// skinning reads them.
#pragma once

#include <string>

#include "framework/Graphics.h"

class TvlMenuSupport : public TPersistent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override;

  const std::wstring& IcoLineSkin() const { return icoLineSkin_; }
  void SetIcoLineSkin(const std::wstring& value) { icoLineSkin_ = value; }
  bool UseExtraLine() const { return useExtraLine_; }
  void SetUseExtraLine(bool value) { useExtraLine_ = value; }
  int ExtraLineWidth() const { return extraLineWidth_; }
  void SetExtraLineWidth(int value) { extraLineWidth_ = value; }
  TFont* ExtraLineFont() const { return &extraLineFont_; }

 private:
  std::wstring icoLineSkin_ = L"ICOLINE";
  bool useExtraLine_ = false;
  int extraLineWidth_ = 32;
  mutable TFont extraLineFont_;
};
