// The class-name lists through which the window adapters choose how to skin a control that is
// not skin-aware: 18 texts, one class name per line, addressed by index or by property name.
// Plain C++.
#pragma once

#include <array>
#include <string>
#include <utility>

#include "framework/Component.h"

enum TvlThirdPartyIndex : int {
  tpEdits, tpButtons, tpBitBtns, tpCheckBoxes, tpComboBoxes, tpGrids, tpGroupBoxes, tpListViews, tpPanels,
  tpTreeViews, tpWWEdits, tpGridEh, tpVirtualTrees, tpPageControl, tpTabControl, tpToolBar, tpStatusBar,
  tpSpeedButton, tpCount
};

class ThirdPartyList : public TPersistent {
 public:
  ThirdPartyList();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override;

  const std::wstring& Text(int index) const { return texts_.at(static_cast<size_t>(index)); }
  void SetText(int index, const std::wstring& text) { texts_.at(static_cast<size_t>(index)) = text; }
  // "TButton" for the buttons' list, one blank for all the others.
  static std::wstring DefaultText(int index);
  static const wchar_t* PropertyName(int index);

 private:
  template <int Index>
  const std::wstring& Get() const { return texts_[Index]; }
  template <int Index>
  void Set(const std::wstring& text) { texts_[Index] = text; }
  template <int... Index>
  static ClassInfo Describe(std::integer_sequence<int, Index...>);

  std::array<std::wstring, tpCount> texts_;
};
