// The component model: ownership, free notification, loading order and published properties
// reachable by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/Exception.h"
#include "framework/StringList.h"

namespace {

std::vector<std::wstring> events;

class Probe : public TComponent {
 public:
  explicit Probe(TComponent* owner, std::wstring label = L"") : TComponent(owner), label_(std::move(label)) {}
  ~Probe() override { events.push_back(L"destroy " + label_); }
  static const ClassInfo& StaticClass() {
    static const ClassInfo& info = RegisterClassInfo(
        ClassBuilder<Probe>(L"TProbe", &TComponent::StaticClass())
            .Integer(L"Count", &Probe::Count, &Probe::SetCount)
            .String(L"Label", &Probe::Label, nullptr)
            .Build());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int Count() const { return count_; }
  void SetCount(int value) {
    count_ = value;
    if (!IsLoading()) events.push_back(L"apply " + label_);
  }
  std::wstring Label() const { return label_; }
  TComponent* watched = nullptr;

 protected:
  void Loaded() override {
    TComponent::Loaded();
    events.push_back(L"loaded " + label_);
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == watched) {
      watched = nullptr;
      events.push_back(L"notified " + label_);
    }
  }

 private:
  std::wstring label_;
  int count_ = 0;
};

}  // namespace

TEST(Component, OwnerFreesOwnedComponentsLastFirst) {
  events.clear();
  auto* root = new Probe(nullptr, L"root");
  new Probe(root, L"a");
  new Probe(root, L"b");
  TComponent::Free(root);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"destroy b", L"destroy a", L"destroy root"}));
}

TEST(Component, FreeNotificationClearsReferences) {
  events.clear();
  ComponentPtr<Probe> root(new Probe(nullptr, L"root"));
  auto* a = new Probe(root.get(), L"a");
  auto* b = new Probe(root.get(), L"b");
  a->watched = b;
  a->FreeNotification(b);
  TComponent::Free(b);
  EXPECT_EQ(a->watched, nullptr);
  EXPECT_EQ(root->ComponentCount(), 1);
}

TEST(Component, ComponentsFreedWithTheirOwnerStillNotify) {
  events.clear();
  ComponentPtr<Probe> watcher(new Probe(nullptr, L"watcher"));
  auto* root = new Probe(nullptr, L"root");
  auto* child = new Probe(root, L"child");
  watcher->watched = child;
  watcher->FreeNotification(child);
  TComponent::Free(root);
  EXPECT_EQ(watcher->watched, nullptr);
}

TEST(Component, NamesAreUniqueAmongSiblingsIgnoringCase) {
  ComponentPtr<Probe> root(new Probe(nullptr));
  auto* a = new Probe(root.get());
  auto* b = new Probe(root.get());
  a->SetName(L"ListOn");
  EXPECT_THROW(b->SetName(L"LISTON"), EComponentError);
  EXPECT_THROW(b->SetName(L"1abc"), EComponentError);
  EXPECT_EQ(root->FindComponent(L"liston"), a);
}

TEST(Component, LoadingStoresValuesAndRunsLoadedInLayoutOrder) {
  events.clear();
  ComponentPtr<Probe> root(new Probe(nullptr, L"root"));
  root->BeginLoading();
  auto* a = new Probe(root.get(), L"a");
  auto* b = new Probe(root.get(), L"b");
  a->SetCount(3);
  b->SetCount(4);
  EXPECT_TRUE(events.empty());  // values stored only
  root->EndLoading();
  EXPECT_EQ(events, (std::vector<std::wstring>{L"loaded root", L"loaded a", L"loaded b"}));
  EXPECT_FALSE(a->IsLoading());
  a->SetCount(5);
  EXPECT_EQ(events.back(), L"apply a");
}

TEST(TypeInfo, PropertiesAreFoundByNameWithTheirKind) {
  ComponentPtr<Probe> p(new Probe(nullptr, L"x"));
  const PropInfo* count = p->ClassType().FindProperty(L"COUNT");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->type->kind, TypeKind::Integer);
  count->setOrdinal(*p, 42);
  EXPECT_EQ(p->Count(), 42);
  const PropInfo* name = p->ClassType().FindProperty(L"Name");
  ASSERT_NE(name, nullptr);  // inherited
  name->setString(*p, L"Probe1");
  EXPECT_EQ(p->Name(), L"Probe1");
  const PropInfo* label = p->ClassType().FindProperty(L"Label");
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->Writable());
  auto all = p->ClassType().Properties();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0]->name, L"Name");  // ancestors first
  EXPECT_TRUE(p->InheritsFrom(TComponent::StaticClass()));
  EXPECT_EQ(FindClassInfo(L"tprobe"), &Probe::StaticClass());
}

TEST(StringList, SortedListRejectsDuplicatesWhenAsked) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(TDuplicates::dupError);
  list.Add(L"b");
  list.Add(L"a");
  EXPECT_EQ(list.Strings(0), L"a");
  EXPECT_THROW(list.Add(L"B"), EStringListError);
  list.SetText(L"x\r\ny\nz");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Text(), L"x\r\ny\r\nz\r\n");
}

TEST(StringList, UnsortedListKeepsDuplicates) {
  TStringList list;
  list.Add(L"a");
  list.Add(L"A");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(L"A"), 0);
}
