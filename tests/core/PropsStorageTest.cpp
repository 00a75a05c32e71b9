// The property storage: every property kind turned into a settings text and back, through a
// small test component that publishes one property of each kind and a store held in memory.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "framework/Collection.h"
#include "framework/StringList.h"
#include "framework/Strings.h"
#include "settings/PropsStorage.h"

namespace {

// Sections of keys in writing order, like a settings file.
struct MemoryStore {
  std::map<std::wstring, std::vector<std::pair<std::wstring, std::wstring>>> sections;

  std::wstring Read(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const {
    auto s = sections.find(section);
    if (s == sections.end()) return fallback;
    for (const auto& [k, v] : s->second)
      if (k == key) return v;
    return fallback;
  }
  void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    auto& keys = sections[section];
    for (auto& [k, v] : keys)
      if (k == key) {
        v = value;
        return;
      }
    keys.emplace_back(key, value);
  }
  void Erase(const std::wstring& section) { sections.erase(section); }
  bool Has(const std::wstring& section, const std::wstring& key) const { return Read(section, key, L"\x1") != L"\x1"; }
};

enum class TMood { mdCalm, mdBusy, mdSmallIcon };
const TypeInfo& MoodType() {
  static const TypeInfo t = MakeEnumType(L"TMood", {L"mdCalm", L"mdBusy", L"vsSmallIcon"});
  return t;
}
const TypeInfo& MoodsType() {
  static const TypeInfo t = MakeSetType(L"TMoods", MoodType());
  return t;
}
using TMoods = TSet<TMood>;

class TSample : public TPersistent {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TSample>(L"TSample", &TPersistent::StaticClass())
                                                         .Integer(L"Depth", &TSample::Depth, &TSample::SetDepth)
                                                         .String(L"Label", &TSample::Label, &TSample::SetLabel)
                                                         .Build());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int Depth() const { return depth; }
  void SetDepth(int v) { depth = v; }
  std::wstring Label() const { return label; }
  void SetLabel(const std::wstring& v) { label = v; }
  int depth = 1;
  std::wstring label = L"inner";
};

class TSampleItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  static const ClassInfo& StaticClass() {
    static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TSampleItem>(L"TSampleItem", &TCollectionItem::StaticClass())
                                                         .String(L"Title", &TSampleItem::Title, &TSampleItem::SetTitle)
                                                         .Build());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  std::wstring Title() const { return title; }
  void SetTitle(const std::wstring& v) { title = v; }
  std::wstring title;
};

// One published property of every kind the storage handles.
class TEveryKind : public TComponent {
 public:
  explicit TEveryKind(TComponent* owner) : TComponent(owner) {}
  static const ClassInfo& StaticClass() {
    using E = TEveryKind;
    static const ClassInfo& info = RegisterClassInfo(
        ClassBuilder<E>(L"TEveryKind", &TComponent::StaticClass())
            .Integer(L"Count", &E::GetCount, &E::SetCount)
            .Ordinal(L"Letter", TypeInfo::Char(), &E::GetLetter, &E::SetLetter)
            .Ordinal(L"Mood", MoodType(), &E::GetMood, &E::SetMood)
            .Boolean(L"Enabled", &E::GetEnabled, &E::SetEnabled)
            .Float(L"Ratio", FloatType::Double, &E::GetRatio, &E::SetRatio)
            .Float(L"Scale", FloatType::Single, &E::GetScale, &E::SetScale)
            .String(L"Folder", &E::GetFolder, &E::SetFolder)
            .Ordinal(L"Wide", TypeInfo::WChar(), &E::GetWide, &E::SetWide)
            .Ordinal(L"Moods", MoodsType(), &E::GetMoods, &E::SetMoods)
            .VariantProp(L"Value", &E::GetValue, &E::SetValue)
            .Int64(L"Big", &E::GetBig, &E::SetBig)
            .Object(L"Lines", TStringList::StaticClass(), &E::GetLines, nullptr)
            .Object(L"Items", TCollection::StaticClass(), &E::GetItems, nullptr)
            .Object(L"Partner", TComponent::StaticClass(), &E::GetPartner, &E::SetPartner)
            .Object(L"Inner", TSample::StaticClass(), &E::GetInner, nullptr)
            .Build());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }

  int GetCount() const { return count; }
  void SetCount(int v) { count = v; }
  uint16_t GetLetter() const { return letter; }
  void SetLetter(uint16_t v) { letter = v; }
  TMood GetMood() const { return mood; }
  void SetMood(TMood v) { mood = v; }
  bool GetEnabled() const { return enabled; }
  void SetEnabled(bool v) { enabled = v; }
  double GetRatio() const { return ratio; }
  void SetRatio(double v) { ratio = v; }
  float GetScale() const { return scale; }
  void SetScale(float v) { scale = v; }
  std::wstring GetFolder() const { return folder; }
  void SetFolder(const std::wstring& v) { folder = v; }
  uint16_t GetWide() const { return wide; }
  void SetWide(uint16_t v) { wide = v; }
  TMoods GetMoods() const { return moods; }
  void SetMoods(TMoods v) { moods = v; }
  Variant GetValue() const { return value; }
  void SetValue(const Variant& v) { value = v; }
  int64_t GetBig() const { return big; }
  void SetBig(int64_t v) { big = v; }
  TStringList* GetLines() const { return lines.get(); }
  TCollection* GetItems() const { return items.get(); }
  TComponent* GetPartner() const { return partner; }
  void SetPartner(TComponent* v) { partner = v; }
  TSample* GetInner() const { return inner.get(); }

  int count = 7;
  uint16_t letter = 'x';
  TMood mood = TMood::mdBusy;
  bool enabled = true;
  double ratio = 0.1;
  float scale = 1.5f;
  std::wstring folder = L"C:\\Plug-Ins";
  uint16_t wide = L'\u00e9';
  TMoods moods{TMood::mdCalm, TMood::mdSmallIcon};
  Variant value{std::wstring(L"some text")};
  int64_t big = int64_t(5) << 32;
  std::unique_ptr<TStringList> lines = std::make_unique<TStringList>();
  std::unique_ptr<TCollection> items = std::make_unique<TCollection>(
      TSampleItem::StaticClass(), [](TCollection* c) { return std::make_unique<TSampleItem>(c); });
  TComponent* partner = nullptr;
  std::unique_ptr<TSample> inner = std::make_unique<TSample>();
};

class PropsStorageTest : public testing::Test {
 protected:
  void SetUp() override {
    form.reset(new TComponent(nullptr));
    form->SetName(L"Form1");
    sample = new TEveryKind(form.get());
    sample->SetName(L"Sample");
    other = new TComponent(form.get());
    other->SetName(L"Other");
  }
  std::unique_ptr<TPropsStorage> Storage(wchar_t decimalSeparator = L'.') {
    auto storage = std::make_unique<TPropsStorage>();
    storage->Section = L"Settings";
    storage->OnReadString = [this](auto& s, auto& k, auto& d) { return store.Read(s, k, d); };
    storage->OnWriteString = [this](auto& s, auto& k, auto& v) { store.Write(s, k, v); };
    storage->OnEraseSection = [this](auto& s) { store.Erase(s); };
    storage->DecimalSeparator = decimalSeparator;
    return storage;
  }
  // A stored property list whose lines refer to their components.
  void Fill(TStringList& list, std::initializer_list<const wchar_t*> lines) {
    for (const wchar_t* line : lines) {
      std::wstring l = line;
      list.AddObject(l, form->FindComponent(bv::Trim(l.substr(0, l.find(L'.')))));
    }
  }
  void Save(std::initializer_list<const wchar_t*> lines) {
    TStringList list;
    Fill(list, lines);
    Storage()->StorePropList(form.get(), list);
  }
  void Load(std::initializer_list<const wchar_t*> lines) {
    TStringList list;
    Fill(list, lines);
    Storage()->LoadPropList(form.get(), list);
  }
  std::wstring Stored(const std::wstring& key) { return store.Read(L"Settings", key, L"<missing>"); }

  MemoryStore store;
  ComponentPtr<TComponent> form;
  TEveryKind* sample = nullptr;
  TComponent* other = nullptr;
};

}  // namespace

TEST_F(PropsStorageTest, EveryKindIsWrittenAsItsText) {
  sample->lines->SetText(L"one\r\ntwo");
  static_cast<TSampleItem*>(sample->items->Add())->title = L"first";
  sample->partner = other;
  Save({L"Sample.Count", L"Sample.Letter", L"Sample.Mood", L"Sample.Enabled", L"Sample.Ratio", L"Sample.Scale",
        L"Sample.Folder", L"Sample.Wide", L"Sample.Moods", L"Sample.Value", L"Sample.Big", L"Sample.Lines",
        L"Sample.Items", L"Sample.Partner", L"Sample.Inner"});
  struct Case {
    const wchar_t* key;
    const wchar_t* text;
  } cases[] = {
      {L"Sample_Count", L"7"},        {L"Sample_Letter", L"x"},           {L"Sample_Mood", L"mdBusy"},
      {L"Sample_Enabled", L"True"},   {L"Sample_Ratio", L"0.1"},          {L"Sample_Scale", L"1.5"},
      {L"Sample_Folder", L"C:\\Plug-Ins"}, {L"Sample_Wide", L"\u00e9"},   {L"Sample_Moods", L"[mdCalm,vsSmallIcon]"},
      {L"Sample_Value", L"some text"}, {L"Sample_Big", L"21474836480"},   {L"Sample_Partner", L"Other"},
      {L"Sample_Items.Count", L"1"},  {L"Sample_InnerDepth", L"1"},       {L"Sample_InnerLabel", L"inner"},
  };
  for (const auto& c : cases) EXPECT_EQ(Stored(c.key), c.text) << c.key;
  EXPECT_EQ(store.Read(L"Settings.Sample_Lines", L"Count", L""), L"2");
  EXPECT_EQ(store.Read(L"Settings.Sample_Lines", L"Item1", L""), L"two");
  EXPECT_EQ(store.Read(L"Settings.Sample_Items", L"Item0_Title", L""), L"first");
  // String lists and collections write no key of their own in the section.
  EXPECT_FALSE(store.Has(L"Settings", L"Sample_Lines"));
}

TEST_F(PropsStorageTest, RestoreConvertsTextsBackByKind) {
  struct Case {
    const wchar_t* key;
    const wchar_t* text;
  } stored[] = {
      {L"Sample_Count", L"42"},     {L"Sample_Letter", L"qrs"},     {L"Sample_Mood", L"VSSMALLICON"},
      {L"Sample_Enabled", L"False"}, {L"Sample_Ratio", L"2.5E-3"},  {L"Sample_Folder", L"  D:\\Filters   "},
      {L"Sample_Moods", L"[mdBusy, bogus,vsSmallIcon]"},           {L"Sample_Value", L"42 apples"},
      {L"Sample_Big", L"-9000000000"},                             {L"Sample_Partner", L"Other"},
  };
  for (const auto& c : stored) store.Write(L"Settings", c.key, c.text);
  Load({L"Sample.Count", L"Sample.Letter", L"Sample.Mood", L"Sample.Enabled", L"Sample.Ratio", L"Sample.Folder",
        L"Sample.Moods", L"Sample.Value", L"Sample.Big", L"Sample.Partner"});
  EXPECT_EQ(sample->count, 42);
  EXPECT_EQ(sample->letter, 'q');
  EXPECT_EQ(sample->mood, TMood::mdSmallIcon);  // identifiers match without regard to case
  EXPECT_FALSE(sample->enabled);
  EXPECT_DOUBLE_EQ(sample->ratio, 0.0025);
  EXPECT_EQ(sample->folder, L"D:\\Filters");  // trimmed
  EXPECT_EQ(sample->moods, (TMoods{TMood::mdBusy, TMood::mdSmallIcon}));  // the unknown word is skipped
  EXPECT_EQ(sample->value, Variant(std::wstring(L"42 apples")));
  EXPECT_EQ(sample->big, -9000000000LL);
  EXPECT_EQ(sample->partner, other);
}

TEST_F(PropsStorageTest, TextsThatDoNotConvertFollowTheirKindsRule) {
  struct Case {
    const wchar_t* key;
    const wchar_t* text;
  } stored[] = {
      {L"Sample_Count", L"many"},  // not a number: 0
      {L"Sample_Mood", L"small"},  // no identifier: unchanged
      {L"Sample_Enabled", L"1"},   // not an identifier of the Boolean: unchanged
      {L"Sample_Ratio", L"1,5"},   // the locale here writes ".": unchanged
      {L"Sample_Letter", L""},     // empty: unchanged
      {L"Sample_Moods", L""},      // empty: the empty set
  };
  for (const auto& c : stored) store.Write(L"Settings", c.key, c.text);
  Load({L"Sample.Count", L"Sample.Mood", L"Sample.Enabled", L"Sample.Ratio", L"Sample.Letter", L"Sample.Moods"});
  EXPECT_EQ(sample->count, 0);
  EXPECT_EQ(sample->mood, TMood::mdBusy);
  EXPECT_TRUE(sample->enabled);
  EXPECT_DOUBLE_EQ(sample->ratio, 0.1);
  EXPECT_EQ(sample->letter, 'x');
  EXPECT_TRUE(sample->moods.Empty());
}

TEST_F(PropsStorageTest, FloatsTravelBetweenCommaAndPointLocales) {
  sample->ratio = 1234.5678;
  TStringList list;
  Fill(list, {L"Sample.Ratio"});
  Storage(L',')->StorePropList(form.get(), list);
  EXPECT_EQ(Stored(L"Sample_Ratio"), L"1234.5678");
  sample->ratio = 0;
  Storage(L'.')->LoadPropList(form.get(), list);
  EXPECT_DOUBLE_EQ(sample->ratio, 1234.5678);
  // A value that a comma locale wrote with its own separator reads back there too.
  store.Write(L"Settings", L"Sample_Ratio", L"3,25");
  Storage(L',')->LoadPropList(form.get(), list);
  EXPECT_DOUBLE_EQ(sample->ratio, 3.25);
}

TEST_F(PropsStorageTest, FloatTextsUseGeneralFormat) {
  struct Case {
    double value;
    int digits;
    const wchar_t* text;
  } cases[] = {{0.1, 15, L"0.1"}, {1e20, 15, L"1E20"}, {1.5e-5, 15, L"1.5E-5"}, {1.0f / 3, 7, L"0.3333333"},
               {-2.5, 15, L"-2.5"}, {0.0, 15, L"0"}, {123456789012.0, 7, L"1.234568E11"}};
  for (const auto& c : cases) EXPECT_EQ(props_text::FloatToText(c.value, c.digits), c.text) << c.value;
}

TEST_F(PropsStorageTest, EmptyStringsAreWrittenOtherEmptyTextsAreNot) {
  sample->folder.clear();
  sample->moods = {};
  sample->partner = nullptr;
  Save({L"Sample.Folder", L"Sample.Moods", L"Sample.Partner"});
  EXPECT_EQ(Stored(L"Sample_Folder"), L"");
  EXPECT_EQ(Stored(L"Sample_Moods"), L"[]");
  EXPECT_EQ(Stored(L"Sample_Partner"), L"(null)");
  store.Write(L"Settings", L"Sample_Partner", L"Missing");
  sample->partner = other;
  Load({L"Sample.Partner"});
  EXPECT_EQ(sample->partner, nullptr);  // a name that is not found gives nil
}

TEST_F(PropsStorageTest, EmptyStringListErasesItsSectionAndRestoresNothing) {
  store.Write(L"Settings.Sample_Lines", L"Count", L"3");
  sample->lines->Clear();
  Save({L"Sample.Lines"});
  EXPECT_EQ(store.sections.count(L"Settings.Sample_Lines"), 0u);
  sample->lines->SetText(L"kept");
  Load({L"Sample.Lines"});
  EXPECT_EQ(sample->lines->Text(), L"kept\r\n");
  store.Write(L"Settings.Sample_Lines", L"Count", L"2");
  store.Write(L"Settings.Sample_Lines", L"Item0", L"a");
  Load({L"Sample.Lines"});
  EXPECT_EQ(sample->lines->Text(), L"a\r\n\r\n");  // a missing item reads empty
}

TEST_F(PropsStorageTest, CollectionsRoundTripTheirItems) {
  for (const wchar_t* title : {L"one", L"two", L"three"}) static_cast<TSampleItem*>(sample->items->Add())->title = title;
  Save({L"Sample.Items"});
  sample->items->Clear();
  Load({L"Sample.Items"});
  ASSERT_EQ(sample->items->Count(), 3);
  EXPECT_EQ(static_cast<TSampleItem*>(sample->items->Items(2))->title, L"three");
}

TEST_F(PropsStorageTest, ListFollowsRenamedComponentsAndDropsFreedOnes) {
  TStringList list;
  Fill(list, {L"Sample.Count", L"Other.Tag"});
  sample->SetName(L"Renamed");
  TComponent::Free(other);
  list.SetObjects(1, nullptr);  // the storage owner clears references of freed components
  Storage()->StorePropList(form.get(), list);
  EXPECT_EQ(list.Text(), L"Renamed.Count\r\n");
  EXPECT_EQ(Stored(L"Renamed_Count"), L"7");
  EXPECT_EQ(Stored(L"Sample_Count"), L"<missing>");
}

TEST_F(PropsStorageTest, KeyUsesTheDeclaredPropertyName) {
  TStringList list;
  Fill(list, {L"Sample.  FOLDER "});
  Storage()->StorePropList(form.get(), list);
  EXPECT_EQ(Stored(L"Sample_Folder"), L"C:\\Plug-Ins");
}

TEST_F(PropsStorageTest, ZeroAndFirstValuesComeBackAfterASave) {
  // Every kind at its zero or first value, saved, then the defaults put back and restored: the
  // saved text must be one that the restore takes, or the setting silently reverts on the next start.
  sample->count = 0;
  sample->mood = TMood::mdCalm;
  sample->enabled = false;
  sample->ratio = 0;
  sample->scale = 0;
  sample->folder.clear();
  sample->moods = {};
  sample->big = 0;
  sample->partner = nullptr;
  Save({L"Sample.Count", L"Sample.Mood", L"Sample.Enabled", L"Sample.Ratio", L"Sample.Scale", L"Sample.Folder",
        L"Sample.Moods", L"Sample.Big", L"Sample.Partner"});
  struct Case {
    const wchar_t* key;
    const wchar_t* text;
  } cases[] = {{L"Sample_Count", L"0"},  {L"Sample_Mood", L"mdCalm"}, {L"Sample_Enabled", L"False"},
               {L"Sample_Ratio", L"0"},  {L"Sample_Scale", L"0"},     {L"Sample_Folder", L""},
               {L"Sample_Moods", L"[]"}, {L"Sample_Big", L"0"},       {L"Sample_Partner", L"(null)"}};
  for (const auto& c : cases) EXPECT_EQ(Stored(c.key), c.text) << c.key;

  TEveryKind defaults(nullptr);
  sample->count = defaults.count;
  sample->mood = defaults.mood;
  sample->enabled = defaults.enabled;
  sample->ratio = defaults.ratio;
  sample->scale = defaults.scale;
  sample->folder = defaults.folder;
  sample->moods = defaults.moods;
  sample->big = defaults.big;
  sample->partner = other;
  Load({L"Sample.Count", L"Sample.Mood", L"Sample.Enabled", L"Sample.Ratio", L"Sample.Scale", L"Sample.Folder",
        L"Sample.Moods", L"Sample.Big", L"Sample.Partner"});
  EXPECT_EQ(sample->count, 0);
  EXPECT_EQ(sample->mood, TMood::mdCalm);
  EXPECT_FALSE(sample->enabled);
  EXPECT_EQ(sample->ratio, 0.0);
  EXPECT_EQ(sample->scale, 0.0f);
  EXPECT_EQ(sample->folder, L"");
  EXPECT_TRUE(sample->moods.Empty());
  EXPECT_EQ(sample->big, 0);
  EXPECT_EQ(sample->partner, nullptr);
}

TEST_F(PropsStorageTest, HandEditedSetsKeepEveryMember) {
  const struct {
    const wchar_t* text;
    TMoods moods;
  } cases[] = {
      {L"[mdCalm, mdBusy]", TMoods{TMood::mdCalm, TMood::mdBusy}},
      {L"[ mdBusy ,  vsSmallIcon ]", TMoods{TMood::mdBusy, TMood::mdSmallIcon}},
      {L"[mdcalm,MDBUSY,vssmallicon]", TMoods{TMood::mdCalm, TMood::mdBusy, TMood::mdSmallIcon}},
      {L"mdBusy vsSmallIcon", TMoods{TMood::mdBusy, TMood::mdSmallIcon}},
      {L"[,, mdBusy,,]", TMoods{TMood::mdBusy}},
      {L"[]", TMoods{}},
  };
  for (const auto& c : cases) {
    sample->moods = {TMood::mdCalm};
    store.Write(L"Settings", L"Sample_Moods", c.text);
    Load({L"Sample.Moods"});
    EXPECT_EQ(sample->moods, c.moods) << bv::WideToUtf8(c.text);
  }
}

TEST_F(PropsStorageTest, HandEditedFloatsReadInEitherSeparator) {
  constexpr double kUnchanged = 0.1;  // the value before each restore
  const struct {
    const wchar_t* text;
    wchar_t localeSeparator;
    double value;
  } cases[] = {
      {L"+1.5", L'.', 1.5},    {L"+1,5", L',', 1.5},   {L"1.5", L',', 1.5},     {L"1,5", L',', 1.5},
      {L"-2.25", L'.', -2.25}, {L"  7.5  ", L'.', 7.5}, {L"+2.5E-1", L'.', 0.25}, {L"1E3", L'.', 1000},
      {L"1,5", L'.', kUnchanged},  // "," is no decimal point where the locale writes "."
      {L"+", L'.', kUnchanged},    {L"++1", L'.', kUnchanged}, {L"+-1", L'.', kUnchanged},
      {L"1.5x", L'.', kUnchanged}, {L"", L'.', kUnchanged},
  };
  for (const auto& c : cases) {
    sample->ratio = kUnchanged;
    store.Write(L"Settings", L"Sample_Ratio", c.text);
    TStringList list;
    Fill(list, {L"Sample.Ratio"});
    Storage(c.localeSeparator)->LoadPropList(form.get(), list);
    EXPECT_EQ(sample->ratio, c.value) << bv::WideToUtf8(c.text) << " with '" << static_cast<char>(c.localeSeparator) << "'";
  }
}

TEST_F(PropsStorageTest, SinglePrecisionFloatsAreWrittenWithSevenDigits) {
  // Eight digits would write 0.7f as "0.69999999"; a hand-edited text of that kind still reads
  // back as the nearest single. Seven digits bring back every single that has at most seven.
  const struct {
    float value;
    const wchar_t* text;
    float restored;
  } cases[] = {{0.7f, L"0.7", 0.7f},
               {0.1f, L"0.1", 0.1f},
               {-1234.567f, L"-1234.567", -1234.567f},
               {3e-8f, L"3E-8", 3e-8f},
               {1.0f / 3, L"0.3333333", 0.3333333f}};
  for (const auto& c : cases) {
    sample->scale = c.value;
    Save({L"Sample.Scale"});
    EXPECT_EQ(Stored(L"Sample_Scale"), c.text) << c.value;
    sample->scale = 99;
    Load({L"Sample.Scale"});
    EXPECT_EQ(sample->scale, c.restored) << c.value;
  }
  store.Write(L"Settings", L"Sample_Scale", L"0.69999999");
  Load({L"Sample.Scale"});
  EXPECT_EQ(sample->scale, 0.7f);
}

namespace {

// A root component of its own class, for references to components under another root.
class TDataPool : public TComponent {
 public:
  explicit TDataPool(TComponent* owner) : TComponent(owner) {}
  static const ClassInfo& StaticClass() {
    static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TDataPool>(L"TDataPool", &TComponent::StaticClass()).Build());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

}  // namespace

TEST_F(PropsStorageTest, ReferencesAcrossRootsAreWrittenAndResolved) {
  // Two more roots: a named one and an unnamed one, each owning a component; the storage finds
  // roots the way the application's form list is searched.
  ComponentPtr<TComponent> named(new TDataPool(nullptr));
  named->SetName(L"Pool2");
  ComponentPtr<TComponent> unnamed(new TDataPool(nullptr));
  TComponent* source = new TComponent(named.get());
  source->SetName(L"Source");
  TComponent* cache = new TComponent(unnamed.get());
  cache->SetName(L"Cache");
  std::vector<TComponent*> roots{form.get(), named.get(), unnamed.get()};
  auto storage = [&] {
    auto s = Storage();
    s->FindRoot = [&](const std::wstring& name) -> TComponent* {
      for (TComponent* root : roots)
        if (TPropsStorage::IsRootNamed(*root, name)) return root;
      return nullptr;
    };
    return s;
  };
  const struct {
    TComponent* target;
    const wchar_t* text;
  } cases[] = {
      {other, L"Other"},              // owned by the storage's form: the name alone
      {source, L"Pool2.Source"},      // owner named
      {cache, L"DataPool.Cache"},     // owner unnamed: its class name without "T"
      {nullptr, L"(null)"},
  };
  for (const auto& c : cases) {
    TStringList list;
    Fill(list, {L"Sample.Partner"});
    sample->partner = c.target;
    storage()->StorePropList(form.get(), list);
    EXPECT_EQ(Stored(L"Sample_Partner"), c.text);
    sample->partner = c.target ? nullptr : other;
    storage()->LoadPropList(form.get(), list);
    EXPECT_EQ(sample->partner, c.target) << bv::WideToUtf8(c.text);
  }
  // Hand-written forms: any letter case, and names that lead nowhere give nil.
  const struct {
    const wchar_t* text;
    TComponent* target;
  } read[] = {{L"pool2.source", source}, {L"DATAPOOL.cache", cache}, {L"Form1.Other", other}, {L"Pool2.Other", nullptr},
              {L"Nowhere.Source", nullptr}, {L".Source", nullptr}, {L"Pool2.", nullptr}};
  for (const auto& r : read) {
    store.Write(L"Settings", L"Sample_Partner", r.text);
    sample->partner = other == r.target ? source : other;
    TStringList list;
    Fill(list, {L"Sample.Partner"});
    storage()->LoadPropList(form.get(), list);
    EXPECT_EQ(sample->partner, r.target) << bv::WideToUtf8(r.text);
  }
}
