// Which adapter a control that is not skin-aware gets: its class name is looked up, exactly, in
// the skin manager's class-name lists in index order, and the first list that holds it decides.
// Plain C++.
#pragma once

#include <functional>
#include <string_view>

// The adapters this program builds; the lists of the adapters it does not build give none.
enum class AdapterKind { None, Edit, ListView };

// `listed(index, name)` answers whether list `index` (0 .. count - 1) holds `name`.
using ClassListLookup = std::function<bool(int index, std::wstring_view name)>;

// The index of the first list holding `className`, or -1 (also for an empty name).
int ChooseAdapterList(std::wstring_view className, int count, const ClassListLookup& listed);
// The adapter of a list index (TvlThirdPartyIndex).
AdapterKind AdapterKindOfList(int index);
