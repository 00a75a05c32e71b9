// Collections: an owned, ordered list of items of one item class, each a persistent object with
// published properties of its own (stored skins, stored values). Plain C++.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TCollection* Collection() const { return collection_; }
  int Index() const;
  virtual std::wstring DisplayName() const { return ClassName(); }

 private:
  friend class TCollection;
  TCollection* collection_;  // borrowed: the collection owns the item
};

class TCollection : public TPersistent {
 public:
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;

  TCollection(const ClassInfo& itemClass, ItemFactory factory);
  ~TCollection() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const ClassInfo& ItemClass() const { return itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

  void Assign(const TPersistent& source) override;

 protected:
  // The collection's contents changed (an item was added, removed, or EndUpdate ran).
  virtual void Update() {}

 private:
  friend class TCollectionItem;
  void Changed();
  const ClassInfo& itemClass_;
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int updateCount_ = 0;
};
