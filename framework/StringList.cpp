// See StringList.h.
#include "framework/StringList.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/Strings.h"

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TStrings>(L"TStrings", &TPersistent::StaticClass()).Build());
  return info;
}

const ClassInfo& TStringList::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TStringList>(L"TStringList", &TStrings::StaticClass()).Build());
  return info;
}

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

const std::wstring& TStrings::Strings(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].text;
}

void TStrings::SetStrings(int index, const std::wstring& text) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].text = text;
  Changed();
}

TObject* TStrings::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStrings::SetObjects(int index, TObject* object) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].object = object;
  Changed();
}

int TStrings::Add(const std::wstring& text) {
  Insert(Count(), text);
  return Count() - 1;
}

int TStrings::AddObject(const std::wstring& text, TObject* object) {
  int index = Add(text);
  if (index >= 0) items_[static_cast<size_t>(index)].object = object;
  return index;
}

void TStrings::Insert(int index, const std::wstring& text) {
  if (index < 0 || index > Count())
    throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TStrings::IndexOf(const std::wstring& text) const {
  for (int i = 0; i < Count(); ++i)
    if (bv::SameText(items_[static_cast<size_t>(i)].text, text)) return i;
  return -1;
}

std::wstring TStrings::Text() const {
  std::wstring text;
  for (const auto& item : items_) {
    text += item.text;
    text += L"\r\n";
  }
  return text;
}

void TStrings::SetText(const std::wstring& text) {
  BeginUpdate();
  items_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) {
      Add(text.substr(start));
      break;
    }
    Add(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == L'\r' && start < text.size() && text[start] == L'\n') ++start;
  }
  EndUpdate();
  Changed();
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0) Changed();
}

void TStrings::Changed() {
  if (updateCount_ == 0) OnChange(this);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TStrings*>(&source)) {
    if (other == this) return;
    BeginUpdate();
    items_.clear();
    for (const auto& item : other->items_) AddObject(item.text, item.object);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Item& a, const Item& b) { return bv::CompareTextSimple(a.text, b.text) < 0; });
  Changed();
}

bool TStringList::Find(const std::wstring& text, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    int mid = (low + high) / 2;
    int c = bv::CompareTextSimple(items_[static_cast<size_t>(mid)].text, text);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != TDuplicates::dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

int TStringList::Add(const std::wstring& text) {
  // As in every string list of this kind, the duplicates rule applies to sorted lists only.
  if (!sorted_) return TStrings::Add(text);
  int index;
  if (Find(text, index)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError) throw EStringListError(L"String list does not allow duplicates");
  }
  TStrings::Insert(index, text);
  return index;
}

void TStringList::Insert(int index, const std::wstring& text) {
  if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
  TStrings::Insert(index, text);
}

int TStringList::IndexOf(const std::wstring& text) const {
  if (!sorted_) return TStrings::IndexOf(text);
  int index;
  return Find(text, index) ? index : -1;
}
