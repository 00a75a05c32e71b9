// The file list's entry model: mask splitting, the attribute filter, scanning through an
// enumeration service, and the column sort with its ".." rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "filelist/FileListModel.h"

namespace {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == L'*') return WildcardMatch(pattern.substr(1), name) || (!name.empty() && WildcardMatch(pattern, name.substr(1)));
  if (name.empty()) return false;
  if (pattern[0] != L'?' && std::towlower(pattern[0]) != std::towlower(name[0])) return false;
  return WildcardMatch(pattern.substr(1), name.substr(1));
}

// A folder held in memory: enumeration matches names as the platform does.
class FakeFolder : public DirectoryEnumerator {
 public:
  std::wstring folder = L"C:\\Plug\\";
  std::vector<FoundItem> items;
  std::vector<std::wstring> patterns;  // every pattern asked for
  // Items found for a mask through their short 8.3 alias ("FOO~1.8BF" for "Foo.8bf_old").
  std::multimap<std::wstring, FoundItem> aliasMatches;

  FakeFolder& Add(std::wstring name, uint32_t attributes = 0x20, uint64_t size = 1, uint64_t time = 0) {
    items.push_back({std::move(name), attributes, size, time});
    return *this;
  }
  bool Enumerate(const std::wstring& pattern, const std::function<void(const FoundItem&)>& sink) override {
    patterns.push_back(pattern);
    if (pattern.rfind(folder, 0) != 0) return false;
    std::wstring mask = pattern.substr(folder.size());
    // As on the platform, a final ".*" also matches names without a dot ("*.*" lists all).
    std::wstring withoutDotStar = mask.size() >= 2 && mask.compare(mask.size() - 2, 2, L".*") == 0
                                      ? mask.substr(0, mask.size() - 2) : mask;
    bool any = false;
    for (const auto& item : items)
      if (WildcardMatch(mask, item.name) || WildcardMatch(withoutDotStar, item.name)) {
        sink(item);
        any = true;
      }
    for (auto [it, end] = aliasMatches.equal_range(mask); it != end; ++it) {
      sink(it->second);
      any = true;
    }
    return any;
  }
};

std::vector<std::wstring> Names(const FileListModel& model) {
  std::vector<std::wstring> names;
  for (const auto& e : model.Entries()) names.push_back(e.EntryName);
  return names;
}

const TFileType kMainWindowTypes{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive};

}  // namespace

TEST(FileListMask, TrimsSpacesAndSplitsAtSemicolons) {
  struct Case {
    const wchar_t* mask;
    std::vector<std::wstring> pieces;
  } cases[] = {
      {L"*.8bf", {L"*.8bf"}},
      {L" *.8bf ", {L"*.8bf"}},
      {L"", {L"*.*"}},
      {L"   ", {L"*.*"}},
      {L"*.8bf;*.off", {L"*.8bf", L"*.off"}},
      {L"*.8bf; *.off", {L"*.8bf", L" *.off"}},  // pieces are not trimmed
      {L"a;;b", {L"a", L"", L"b"}},
      {L"\t*.8bf", {L"\t*.8bf"}},  // only the space character is trimmed
  };
  for (const auto& c : cases) EXPECT_EQ(filelist::SplitMask(c.mask), c.pieces) << c.mask;
}

TEST(FileListFilter, AttributeBitsNeedTheirMemberInFileType) {
  struct Case {
    uint32_t attributes;
    TFileType type;
    bool listed;
  } cases[] = {
      {0x20, {}, true},                                   // archive only: always listed
      {0x00, {}, true},
      {0x01, {}, false},                                  // read-only without ftReadOnly
      {0x21, {TFileAttr::ftReadOnly}, true},
      {0x02, {TFileAttr::ftReadOnly}, false},             // hidden
      {0x06, {TFileAttr::ftHidden}, false},               // hidden + system needs both
      {0x06, {TFileAttr::ftHidden, TFileAttr::ftSystem}, true},
      {0x10, kMainWindowTypes, false},                    // a folder in a file scan
  };
  for (const auto& c : cases)
    EXPECT_EQ(filelist::PassesAttributeFilter(c.attributes, filelist::AttributeMask(c.type)), c.listed)
        << std::hex << c.attributes << " " << c.type.Bits();
  EXPECT_EQ(filelist::AttributeMask(kMainWindowTypes), 0x87u);
}

TEST(FileListScan, ListsEachMaskPieceAndSkipsDotEntries) {
  FakeFolder folder;
  folder.Add(L"Sharpen.8bf").Add(L"Blur.8BF").Add(L"Emboss.off").Add(L"readme.txt").Add(L".", 0x10).Add(L"..", 0x10)
      .Add(L"Sub", 0x10);
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  model.ScanFolder(L"C:\\Plug", L"*.8bf;*.off", kMainWindowTypes, false, true);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"Sharpen.8bf", L"Blur.8BF", L"Emboss.off"}));
  EXPECT_EQ(model.Entries()[0].EntryPath(), L"C:\\Plug\\Sharpen.8bf");
  // One folder text for the whole list.
  EXPECT_EQ(model.Entries()[0].EntryFolder.get(), model.Entries()[2].EntryFolder.get());
  EXPECT_EQ(model.Entries()[0].EntryKind, L"file");

  // A file that matches two pieces is listed twice.
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf;sharp*", kMainWindowTypes, false, true);
  EXPECT_EQ(model.EntryCount(), 3);

  // Folders first when asked, never ".", ".." only with ParentDirEnabled.
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.off", kMainWindowTypes, true, true);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"..", L"Sub", L"Emboss.off"}));
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.off", kMainWindowTypes, true, false);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"Sub", L"Emboss.off"}));
}

TEST(FileListMask, PieceMatchesTheNameItselfIgnoringCase) {
  struct Case {
    const wchar_t* name;
    const wchar_t* pattern;
    bool matches;
  } cases[] = {
      {L"Sharpen.8bf", L"*.8bf", true},
      {L"BLUR.8BF", L"*.8bf", true},
      {L"a.b.8bf", L"*.8bf", true},
      {L".8bf", L"*.8bf", true},
      {L"Foo.8bf_old", L"*.8bf", false},
      {L"Foo.8bfx", L"*.8bf", false},
      {L"Foo.8bf.txt", L"*.8bf", false},
      {L"8bf", L"*.8bf", false},
      {L"x.office", L"*.off", false},
      {L"x.OFF", L"*.off", true},
      {L"readme", L"*.*", true},  // a final ".*" may be missing
      {L"a.b", L"*.*", true},
      {L"sharpen.8bf", L"sharp*", true},
      {L"Sharp", L"sharp?", false},
      {L"Sharpx", L"sharp?", true},
      {L"aXbXc", L"a*b*c", true},
      {L"aXbXcY", L"a*b*c", false},
      {L"abcbd", L"a*bd", true},  // the first "b" was not the one
      {L"abXbc", L"a*bc", true},
      {L"anything", L"*", true},
      {L"", L"*", true},
      {L"x", L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(filelist::MatchesMaskPiece(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(FileListScan, StrictMaskDropsItemsFoundThroughShortNames) {
  FakeFolder folder;
  folder.Add(L"Sharpen.8bf").Add(L"Emboss.off").Add(L"..", 0x10);
  folder.aliasMatches.insert({L"*.8bf", {L"Foo.8bf_old", 0x20, 1, 0}});
  folder.aliasMatches.insert({L"*.8bf", {L"Foo.8bfx", 0x20, 1, 0}});
  folder.aliasMatches.insert({L"*.off", {L"x.office", 0x20, 1, 0}});
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf;*.off", kMainWindowTypes, false, true);
  EXPECT_EQ(model.EntryCount(), 5);  // what the platform's search answers
  model.SetStrictMask(true);
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf;*.off", kMainWindowTypes, true, true);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"..", L"Sharpen.8bf", L"Emboss.off"}));
}

TEST(FileListScan, VolumeIdMemberDoesNotTurnFileScansIntoFolderScans) {
  FakeFolder folder;
  folder.Add(L"Sharpen.8bf").Add(L"Sub", 0x10);
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  TFileType withVolume = kMainWindowTypes;
  withVolume.Include(TFileAttr::ftVolumeID);
  model.ScanFolder(L"C:\\Plug\\", L"*.*", withVolume, false, true);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"Sharpen.8bf"}));
}

TEST(FileListScan, KeepsSixtyFourBitSizesAndTexts) {
  FakeFolder folder;
  folder.Add(L"big.8bf", 0x21, 5ULL << 30, 130000000000000000ULL);
  FileListModel model({&folder, nullptr, [](uint64_t t) { return L"t" + std::to_wstring(t % 1000); }});
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf", kMainWindowTypes, false, true);
  ASSERT_EQ(model.EntryCount(), 1);
  const TFileInfo& e = model.Entries()[0];
  EXPECT_EQ(e.EntrySize, int64_t(5) << 30);
  EXPECT_EQ(e.EntryAttrText(), L"AR");
  EXPECT_EQ(e.EntryTimeKey, 130000000000000000ULL);
  EXPECT_EQ(model.DateText(e), L"t0");
  EXPECT_FALSE(e.EntryInfoFetched);
}

// A rebuild keeps the shell's answers of entries that did not change; an entry that changed in
// any way (renamed, rewritten, resized, other attributes, another folder) is asked again.
TEST(FileListScan, RebuildKeepsShellAnswersOfUnchangedEntriesOnly) {
  FakeFolder folder;
  folder.Add(L"Same.exe", 0x20, 10, 5).Add(L"Renamed.exe", 0x20, 10, 5).Add(L"Rewritten.exe", 0x20, 10, 5)
      .Add(L"Resized.exe", 0x20, 10, 5).Add(L"Hidden.exe", 0x20, 10, 5).Add(L"Unshown.exe", 0x20, 10, 5);
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, false, true);
  TFlieInfoArr previous = model.Entries();
  for (TFileInfo& e : previous) {
    if (e.EntryName == L"Unshown.exe") continue;
    e.EntryInfoFetched = true;
    e.EntryIconIndex = 7;
    e.EntryTypeName = L"Program";
  }
  folder.items = {{L"Same.exe", 0x20, 10, 5}, {L"Renamed.txt", 0x20, 10, 5}, {L"Rewritten.exe", 0x20, 10, 6},
                  {L"Resized.exe", 0x20, 11, 5}, {L"Hidden.exe", 0x22, 10, 5}, {L"Unshown.exe", 0x20, 10, 5}};
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, false, true);
  model.KeepShellAnswers(previous);
  std::map<std::wstring, bool> kept;
  for (const TFileInfo& e : model.Entries()) {
    kept[e.EntryName] = e.EntryInfoFetched;
    if (e.EntryInfoFetched) {
      EXPECT_EQ(e.EntryIconIndex, 7);
      EXPECT_EQ(e.EntryTypeName, L"Program");
    }
  }
  EXPECT_EQ(kept, (std::map<std::wstring, bool>{{L"Same.exe", true}, {L"Renamed.txt", false}, {L"Rewritten.exe", false},
                                                {L"Resized.exe", false}, {L"Hidden.exe", false}, {L"Unshown.exe", false}}));

  // The same names in another folder are other files.
  folder.folder = L"C:\\Other\\";
  model.Clear();
  model.ScanFolder(L"C:\\Other\\", L"*.*", kMainWindowTypes, false, true);
  model.KeepShellAnswers(previous);
  for (const TFileInfo& e : model.Entries()) EXPECT_FALSE(e.EntryInfoFetched) << e.EntryName;
}

TEST(FileListScan, ArrayGrowsInStepsOfFiveHundredThenWithItsSize) {
  FakeFolder folder;
  for (int i = 0; i < 1200; ++i) folder.Add(L"f" + std::to_wstring(i) + L".8bf");
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  EXPECT_EQ(model.Entries().capacity(), 500u);
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf", kMainWindowTypes, false, true);
  EXPECT_EQ(model.EntryCount(), 1200);
  EXPECT_EQ(model.Entries().capacity(), 1500u);
  for (int i = 1200; i < 20000; ++i) folder.Add(L"f" + std::to_wstring(i) + L".8bf");
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.8bf", kMainWindowTypes, false, true);
  EXPECT_EQ(model.EntryCount(), 20000);
  EXPECT_LE(model.Entries().capacity(), 30000u);  // grows by half its size once it is large
}

namespace {

FileListModel SortedFolder(FakeFolder& folder, bool descending) {
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, true, true);
  model.FinishRebuild(5);  // ascending by name, as every rebuild
  if (descending) model.HandleColumnClick(0);
  return model;
}

}  // namespace

TEST(FileListSort, ParentEntryStaysFirstInBothDirections) {
  FakeFolder folder;
  folder.Add(L"b.8bf").Add(L"A.8bf").Add(L"..", 0x10).Add(L"zeta", 0x10).Add(L"1st", 0x10).Add(L"C.8BF");
  FileListModel up = SortedFolder(folder, false);
  EXPECT_EQ(Names(up), (std::vector<std::wstring>{L"..", L"1st", L"zeta", L"A.8bf", L"b.8bf", L"C.8BF"}));
  EXPECT_FALSE(up.SortDescending());
  FileListModel down = SortedFolder(folder, true);
  // Descending: ".." keeps its place, the other folders follow the files.
  EXPECT_EQ(Names(down), (std::vector<std::wstring>{L"..", L"C.8BF", L"b.8bf", L"A.8bf", L"zeta", L"1st"}));
}

TEST(FileListSort, ColumnClicksToggleOrSwitchColumns) {
  FakeFolder folder;
  folder.Add(L"small.8bf", 0x20, 10, 3).Add(L"large.8bf", 0x21, 9000, 1).Add(L"mid.8bf", 0x20, 500, 2);
  FileListModel model = SortedFolder(folder, false);
  EXPECT_TRUE(model.HandleColumnClick(1));  // another column: descending first
  EXPECT_EQ(model.SortColumn(), 1);
  EXPECT_TRUE(model.SortDescending());
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"large.8bf", L"mid.8bf", L"small.8bf"}));
  model.HandleColumnClick(1);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"small.8bf", L"mid.8bf", L"large.8bf"}));
  model.HandleColumnClick(3);
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"small.8bf", L"mid.8bf", L"large.8bf"}));
  model.HandleColumnClick(4);  // attribute letters: "AR" after "A", descending
  EXPECT_EQ(model.Entries()[0].EntryName, L"large.8bf");
  EXPECT_EQ(model.ArrowColumn(), 4);
}

TEST(FileListSort, TypeColumnPutsUnfetchedTypesFirst) {
  FakeFolder folder;
  folder.Add(L"a.8bf").Add(L"b.8bf").Add(L"c.8bf");
  FileListModel model = SortedFolder(folder, false);
  model.Entries()[0].EntryTypeName = L"Filter";
  model.Entries()[2].EntryTypeName = L"archive";
  model.HandleColumnClick(2);  // descending
  model.HandleColumnClick(2);  // ascending
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"b.8bf", L"c.8bf", L"a.8bf"}));
}

TEST(FileListSort, DisabledSortingIgnoresClicksAndEmptyListsOnlyChangeState) {
  FakeFolder folder;
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  EXPECT_TRUE(model.HandleColumnClick(2));
  EXPECT_EQ(model.SortColumn(), 2);
  EXPECT_TRUE(model.SortDescending());
  model.SetSortEnabled(false);
  EXPECT_FALSE(model.HandleColumnClick(0));
  EXPECT_EQ(model.SortColumn(), 2);
}

TEST(FileListSort, LargeFoldersSortCompletely) {
  FakeFolder folder;
  for (int i = 0; i < 5000; ++i) folder.Add(L"f" + std::to_wstring((i * 7919) % 5000) + L".8bf");
  FileListModel model = SortedFolder(folder, false);
  for (int i = 1; i < model.EntryCount(); ++i)
    EXPECT_LE(model.CompareEntries(model.Entries()[static_cast<size_t>(i - 1)], model.Entries()[static_cast<size_t>(i)]), 0);
}

namespace {

// The plain in-place quicksort of the entry array, record by record, as a reference for the
// order a sort must end in (including the order of records that compare equal).
void ReferenceQuickSort(const FileListModel& model, std::vector<TFileInfo>& a, int left, int right) {
  for (;;) {
    int i = left, j = right;
    TFileInfo pivot = a[static_cast<size_t>((left + right) / 2)];
    do {
      while (model.CompareEntries(a[static_cast<size_t>(i)], pivot) < 0) ++i;
      while (model.CompareEntries(a[static_cast<size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i < j) std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) ReferenceQuickSort(model, a, left, j);
    left = i;
    if (i >= right) return;
  }
}

std::vector<std::wstring> NamesOf(const std::vector<TFileInfo>& entries) {
  std::vector<std::wstring> names;
  for (const auto& e : entries) names.push_back(e.EntryName);
  return names;
}

}  // namespace

TEST(FileListSort, EndsInTheOrderOfThePlainQuicksort) {
  // Folders in the orders a scan may hand them over: already in name order (the usual case),
  // nearly so, reversed, shuffled into long cycles, and with names that compare equal.
  auto numbered = [](int count, auto nameOf) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) names.push_back(nameOf(i));
    return names;
  };
  auto padded = [](int i) {
    std::wstring n = std::to_wstring(i);
    return L"Filter " + std::wstring(4 - n.size(), L'0') + n + L".8bf";
  };
  struct Case {
    const char* what;
    std::vector<std::wstring> names;
    int column;  // the column clicked after the rebuild's own sort, -1 for none
  } cases[] = {
      {"in order", numbered(300, padded), -1},
      {"in order, then descending", numbered(300, padded), 0},
      {"one out of place at the end", [&] { auto n = numbered(300, padded); n.push_back(L"Aardvark.8bf"); return n; }(), -1},
      {"reversed", [&] { auto n = numbered(300, padded); std::reverse(n.begin(), n.end()); return n; }(), -1},
      {"long cycles", numbered(997, [&](int i) { return padded((i * 389) % 997); }), -1},
      {"equal names in order", {L"a.8bf", L"A.8bf", L"b.8bf"}, -1},
      {"equal names", {L"Blur.8bf", L"c.8bf", L"BLUR.8bf", L"blur.8bf", L"a.8bf"}, -1},
      {"equal names, descending", {L"a.8bf", L"A.8bf", L"b.8bf", L"B.8bf"}, 0},
      {"with the parent entry", {L"..", L"x.8bf", L"b.8bf"}, 0},
      {"sizes, some equal", {L"a", L"b", L"c", L"d"}, 1},
  };
  for (const auto& c : cases) {
    FakeFolder folder;
    uint64_t size = 0;
    for (const auto& name : c.names) folder.Add(name, name == L".." ? 0x10u : 0x20u, ++size % 3);
    // The reference sorts the scan's order as the model did: by name, then by the clicked column.
    FileListModel unsorted({&folder, nullptr, nullptr});
    unsorted.Clear();
    unsorted.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, true, true);
    std::vector<TFileInfo> expected = unsorted.Entries();
    const int last = static_cast<int>(expected.size()) - 1;
    FileListModel model = SortedFolder(folder, false);
    ReferenceQuickSort(model, expected, 0, last);
    if (c.column >= 0) {
      model.HandleColumnClick(c.column);
      ReferenceQuickSort(model, expected, 0, last);
    }
    EXPECT_EQ(Names(model), NamesOf(expected)) << c.what;
  }
}

TEST(FileListScan, FingerprintsTellTheFirstRowARebuildChanged) {
  const std::vector<FoundItem> shown = {{L"a.8bf", 0x20, 1, 5}, {L"b.8bf", 0x20, 1, 5}, {L"c.8bf", 0x20, 1, 5},
                                        {L"d.8bf", 0x20, 1, 5}};
  struct Case {
    const char* what;
    std::vector<FoundItem> after;
    int firstChanged;
  };
  const Case cases[] = {
      {"the same", shown, -1},
      {"one out", {shown[0], shown[1], shown[3]}, 2},
      {"one in", {shown[0], {L"aa.8bf", 0x20, 1, 5}, shown[1], shown[2], shown[3]}, 1},
      {"one added at the end", {shown[0], shown[1], shown[2], shown[3], {L"e.8bf", 0x20, 1, 5}}, 4},
      {"the last out", {shown[0], shown[1], shown[2]}, 3},
      {"renamed", {shown[0], {L"bb.8bf", 0x20, 1, 5}, shown[2], shown[3]}, 1},
      {"attributes", {shown[0], shown[1], {L"c.8bf", 0x21, 1, 5}, shown[3]}, 2},
      {"size", {shown[0], shown[1], shown[2], {L"d.8bf", 0x20, 2, 5}}, 3},
      {"time", {{L"a.8bf", 0x20, 1, 6}, shown[1], shown[2], shown[3]}, 0},
      {"a folder of the same name (listed first)", {shown[0], shown[1], shown[2], {L"d.8bf", 0x10, 1, 5}}, 0},
      {"all gone", {}, 0},
  };
  for (const Case& c : cases) {
    FakeFolder folder;
    folder.items = shown;
    FileListModel model({&folder, nullptr, nullptr});
    model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, true, false);
    const std::vector<uint64_t> before = model.RowFingerprints();
    ASSERT_EQ(before.size(), shown.size()) << c.what;
    folder.items = c.after;
    model.Clear();
    model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, true, false);
    EXPECT_EQ(filelist::RowsChangedFrom(before, model.RowFingerprints()), c.firstChanged) << c.what;
  }
  EXPECT_EQ(filelist::RowsChangedFrom({}, {}), -1);
  EXPECT_EQ(filelist::RowsChangedFrom({}, {7}), 0);
}

TEST(FileListScan, OneFileTakenOutOrPutInEndsAsARebuildWouldOrIsRefused) {
  const std::wstring plug = L"C:\\Plug\\";
  const std::vector<FoundItem> files = {{L"b.8bf", 0x20, 1, 5}, {L"d.8bf", 0x20, 2, 5}, {L"f.8bf", 0x20, 3, 5},
                                        {L"x.off", 0x20, 4, 5}};
  auto rebuild = [&](FileListModel& model, std::wstring_view mask) {
    model.Clear();
    model.ScanFolder(plug, mask, kMainWindowTypes, false, true);
    model.FinishRebuild(5);
  };
  struct Case {
    const char* what;
    FoundItem item;
    std::wstring_view mask = L"*.8bf";
    bool sortedBySize = false;
    bool accepted = true;
    bool intoEmpty = false;  // the folder held no matching file before
  };
  const Case cases[] = {
      {"in the middle", {L"c.8bf", 0x20, 9, 7}},
      {"first", {L"a.8bf", 0x20, 9, 7}},
      {"last", {L"z.8bf", 0x20, 9, 7}},
      {"upper-case extension", {L"E.8BF", 0x21, 9, 7}},
      {"a name the mask does not take", {L"c.off", 0x20, 9, 7}, L"*.8bf", false, false},
      {"a folder", {L"c.8bf", 0x10, 0, 7}, L"*.8bf", false, false},
      {"a name already listed", {L"D.8bf", 0x20, 9, 7}, L"*.8bf", false, false},
      {"a mask of two pieces", {L"c.8bf", 0x20, 9, 7}, L"*.8bf;*.off", false, false},
      {"a list sorted by another column", {L"c.8bf", 0x20, 9, 7}, L"*.8bf", true, false},
      {"into an empty list", {L"c.8bf", 0x20, 9, 7}, L"*.8bf", false, true, true},
  };
  for (const Case& c : cases) {
    FakeFolder folder;
    folder.items = c.intoEmpty ? std::vector<FoundItem>{} : files;
    FileListModel model({&folder, nullptr, nullptr});
    rebuild(model, c.mask);
    rebuild(model, c.mask);  // the order every rebuild after the first keeps
    if (c.sortedBySize) model.HandleColumnClick(1);
    const std::vector<std::wstring> shown = Names(model);
    EXPECT_EQ(model.InsertFound(plug, c.item, c.mask, kMainWindowTypes), c.accepted) << c.what;
    if (!c.accepted) {
      EXPECT_EQ(Names(model), shown) << c.what;
      continue;
    }
    const TFlieInfoArr inserted = model.Entries();
    folder.items.push_back(c.item);
    FileListModel fresh({&folder, nullptr, nullptr});
    rebuild(fresh, c.mask);
    rebuild(fresh, c.mask);
    ASSERT_EQ(Names(model), Names(fresh)) << c.what;
    for (size_t i = 0; i < inserted.size(); ++i) {
      const TFileInfo& a = inserted[i];
      const TFileInfo& b = fresh.Entries()[i];
      EXPECT_TRUE(a.EntryPath() == b.EntryPath() && a.EntryKind == b.EntryKind && a.EntryAttributes == b.EntryAttributes &&
                  a.EntryAttrText() == b.EntryAttrText() && a.EntrySize == b.EntrySize && a.EntryTimeKey == b.EntryTimeKey)
          << c.what << ", row " << i;
    }
    EXPECT_EQ(model.RowFingerprints(), fresh.RowFingerprints()) << c.what;
    // And the next one goes where a rebuild puts it, too.
    FoundItem next{L"a0.8bf", 0x20, 9, 7};
    ASSERT_TRUE(model.InsertFound(plug, next, c.mask, kMainWindowTypes)) << c.what;
    folder.items.push_back(next);
    rebuild(fresh, c.mask);
    EXPECT_EQ(Names(model), Names(fresh)) << c.what;
    EXPECT_EQ(model.SortDescending(), fresh.SortDescending()) << c.what;
    EXPECT_EQ(model.ArrowColumn(), fresh.ArrowColumn()) << c.what;
  }

  // Taking out: the entry of that exact path, and only a file.
  FakeFolder folder;
  folder.items = files;
  folder.Add(L"sub.8bf", 0x10);
  FileListModel model({&folder, nullptr, nullptr});
  model.Clear();
  model.ScanFolder(plug, L"*.8bf", kMainWindowTypes, true, true);
  model.FinishRebuild(5);
  EXPECT_FALSE(model.RemovePath(L"C:\\Plug\\c.8bf"));
  EXPECT_FALSE(model.RemovePath(L"C:\\Other\\d.8bf"));
  EXPECT_FALSE(model.RemovePath(L"C:\\Plug\\sub.8bf"));
  EXPECT_TRUE(model.RemovePath(L"C:\\Plug\\d.8bf"));
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"sub.8bf", L"b.8bf", L"f.8bf"}));
}

namespace {

// A rebuild as the list makes it: the folder read, then sorted by name.
void Rebuild(FileListModel& model, bool showFolders) {
  model.Clear();
  model.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, showFolders, showFolders);
  model.FinishRebuild(5);
}

// The plain comparer, counting the name comparisons asked of it.
class CountingComparer : public TextComparer {
 public:
  int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) const override {
    ++asked;
    return TextComparer::CompareIgnoringCase(a, b);
  }
  mutable int asked = 0;
};

}  // namespace

TEST(FileListSort, AFolderReadAgainIsComparedOnlyAroundWhatChanged) {
  // The first read of a folder in name order compares each name with the one before it. A later
  // read compares only the pairs that did not stand in that order then; whatever the folder
  // turned into, the rebuild ends sorted.
  auto padded = [](int i) {
    std::wstring n = std::to_wstring(i);
    return L"Filter " + std::wstring(4 - n.size(), L'0') + n + L".8bf";
  };
  std::vector<std::wstring> first;
  for (int i = 0; i < 200; ++i) first.push_back(padded(2 * i));
  struct Case {
    const char* what;
    std::vector<std::wstring> names;  // as the second read finds them
    int mostAsked;                    // name comparisons the second read's check may ask
  };
  auto without = [&](size_t at) {
    auto n = first;
    n.erase(n.begin() + static_cast<std::ptrdiff_t>(at));
    return n;
  };
  auto with = [&](size_t at, std::wstring name) {
    auto n = first;
    n.insert(n.begin() + static_cast<std::ptrdiff_t>(at), std::move(name));
    return n;
  };
  const Case cases[] = {
      {"the same", first, 0},
      {"the first gone", without(0), 0},
      {"one in the middle gone", without(100), 0},
      {"the last gone", without(199), 0},
      {"one come in the middle", with(100, padded(199)), 2},
      {"one come first", with(0, L"Aardvark.8bf"), 1},
      {"one come last", with(200, L"Zebra.8bf"), 1},
      {"two swapped", [&] { auto n = first; std::swap(n[50], n[51]); return n; }(), 200},
      {"one moved out of order", with(10, L"Zebra.8bf"), 200},
      {"another folder", [&] { std::vector<std::wstring> n; for (int i = 0; i < 50; ++i) n.push_back(padded(2 * i + 1)); return n; }(), 49},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFolder folder;
    CountingComparer comparer;
    FileListModel model({&folder, &comparer, nullptr});
    for (const auto& name : first) folder.Add(name);
    Rebuild(model, false);
    EXPECT_EQ(comparer.asked, 199);

    folder.items.clear();
    for (const auto& name : c.names) folder.Add(name);
    comparer.asked = 0;
    Rebuild(model, false);
    EXPECT_LE(comparer.asked, c.mostAsked);
    std::vector<std::wstring> sorted = c.names;
    std::sort(sorted.begin(), sorted.end(),
              [&](const std::wstring& a, const std::wstring& b) { return comparer.TextComparer::CompareIgnoringCase(a, b) < 0; });
    EXPECT_EQ(Names(model), sorted);
  }
}

TEST(FileListSort, TheRememberedOrderIsThatOfOneDirection) {
  // A rebuild after sorting by another column sorts names descending; a folder handed over in
  // that order is remembered so. The rebuild after it sorts ascending, and must not take the
  // remembered order for its own.
  FakeFolder folder;
  for (const wchar_t* name : {L"d.8bf", L"c.8bf", L"b.8bf", L"a.8bf"}) folder.Add(name);
  FileListModel model({&folder, nullptr, nullptr});
  auto rebuild = [&] { Rebuild(model, false); };
  rebuild();
  model.HandleColumnClick(1);
  rebuild();
  ASSERT_TRUE(model.SortDescending());
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"d.8bf", L"c.8bf", L"b.8bf", L"a.8bf"}));
  rebuild();
  ASSERT_FALSE(model.SortDescending());
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"a.8bf", L"b.8bf", L"c.8bf", L"d.8bf"}));
}

TEST(FileListSort, AParentEntryIsNeverPartOfTheRememberedOrder) {
  // Sorted descending, the parent entry keeps its place and so compares in no consistent order
  // with the others: "..", "b" and "!x" stand in order pair by pair, yet "!x" comes before "..".
  // With "b" gone, the rebuild must compare ".." and "!x" itself and end as a full sort would.
  FakeFolder folder;
  folder.Add(L"..", 0x10).Add(L"b", 0x10).Add(L"!x", 0x10);
  FileListModel model({&folder, nullptr, nullptr});
  auto rebuild = [&] { Rebuild(model, true); };
  rebuild();
  model.HandleColumnClick(1);
  rebuild();  // names descending, as found
  ASSERT_TRUE(model.SortDescending());
  ASSERT_EQ(Names(model), (std::vector<std::wstring>{L"..", L"b", L"!x"}));
  model.HandleColumnClick(1);
  folder.items.erase(folder.items.begin() + 1);
  rebuild();
  ASSERT_TRUE(model.SortDescending());
  FileListModel unsorted({&folder, nullptr, nullptr});
  unsorted.ScanFolder(L"C:\\Plug\\", L"*.*", kMainWindowTypes, true, true);
  std::vector<TFileInfo> expected = unsorted.Entries();
  ReferenceQuickSort(model, expected, 0, static_cast<int>(expected.size()) - 1);
  EXPECT_EQ(Names(model), NamesOf(expected));
}
