// See ThirdPartyList.h.
#include "skin/ThirdPartyList.h"

#include <utility>

namespace {
const wchar_t* const kNames[tpCount] = {
    L"ThirdEdits",      L"ThirdButtons",      L"ThirdBitBtns",      L"ThirdCheckBoxes",  L"ThirdComboBoxes",
    L"ThirdGrids",      L"ThirdGroupBoxes",   L"ThirdListViews",    L"ThirdPanels",      L"ThirdTreeViews",
    L"ThirdWWEdits",    L"ThirdGridEh",       L"ThirdVirtualTrees", L"ThirdPageControl", L"ThirdTabControl",
    L"ThirdToolBar",    L"ThirdStatusBar",    L"ThirdSpeedButton"};
}  // namespace

template <int... Index>
ClassInfo ThirdPartyList::Describe(std::integer_sequence<int, Index...>) {
  ClassBuilder<ThirdPartyList> builder(L"ThirdPartyList", &TPersistent::StaticClass());
  (builder.String(kNames[Index], &ThirdPartyList::Get<Index>, &ThirdPartyList::Set<Index>), ...);
  return builder.Build();
}

const ClassInfo& ThirdPartyList::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(Describe(std::make_integer_sequence<int, tpCount>()));
  return info;
}

ThirdPartyList::ThirdPartyList() {
  for (int i = 0; i < tpCount; ++i) texts_[static_cast<size_t>(i)] = DefaultText(i);
}

void ThirdPartyList::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const ThirdPartyList*>(&source)) {
    texts_ = other->texts_;
    return;
  }
  TPersistent::Assign(source);
}

std::wstring ThirdPartyList::DefaultText(int index) { return index == tpButtons ? L"TButton" : L" "; }

const wchar_t* ThirdPartyList::PropertyName(int index) {
  return index >= 0 && index < tpCount ? kNames[index] : L"";
}
