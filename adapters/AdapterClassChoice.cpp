#include "adapters/AdapterClassChoice.h"

#include "skin/ThirdPartyList.h"

int ChooseAdapterList(std::wstring_view className, int count, const ClassListLookup& listed) {
  if (className.empty()) return -1;
  for (int index = 0; index < count; ++index) {
    if (listed(index, className)) return index;
  }
  return -1;
}

AdapterKind AdapterKindOfList(int index) {
  switch (index) {
    case tpEdits: return AdapterKind::Edit;
    case tpListViews: return AdapterKind::ListView;
    default: return AdapterKind::None;
  }
}
