// See Collection.h.
#include "framework/Collection.h"

#include "framework/Exception.h"

const ClassInfo& TCollectionItem::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TCollectionItem>(L"TCollectionItem", &TPersistent::StaticClass()).Build());
  return info;
}

const ClassInfo& TCollection::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TCollection>(L"TCollection", &TPersistent::StaticClass()).Build());
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {}
TCollectionItem::~TCollectionItem() = default;

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  for (int i = 0; i < collection_->Count(); ++i)
    if (collection_->Items(i) == this) return i;
  return -1;
}

TCollection::TCollection(const ClassInfo& itemClass, ItemFactory factory)
    : itemClass_(itemClass), factory_(std::move(factory)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
  items_.push_back(factory_(this));
  Changed();
  return items_.back().get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw Exception(L"List index out of bounds (" + std::to_wstring(index) + L")");
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  items_.clear();
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update();
}

void TCollection::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TCollection*>(&source)) {
    if (other == this) return;
    BeginUpdate();
    items_.clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(*other->Items(i));
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}
