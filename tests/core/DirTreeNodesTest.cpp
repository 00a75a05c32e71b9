// The directory trees' node captions and paths, folder listing rule, path walking, name checks
// and the folder-size walk over a fake folder tree.
#include <gtest/gtest.h>

#include <map>

#include "filelist/DirTreeNodes.h"

using namespace dirtree;

TEST(DirTreeNodes, DriveCaptionsAndTheirPaths) {
  struct Case {
    wchar_t letter;
    const wchar_t* displayName;
    const wchar_t* caption;
  } cases[] = {
      {L'C', L"System (C:)", L" (C:)  System "},
      {L'Z', L"/ (Z:)", L" (Z:)  / "},
      {L'D', L"(D:)", L" (D:)  "},
      {L'E', L"Backup", L" (E:)  Backup"},
      {L'F', L"", L" (F:)  "},
  };
  for (const Case& c : cases) {
    std::wstring caption = DriveCaption(c.letter, c.displayName);
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(DriveLetterOfCaption(caption), c.letter);
    EXPECT_EQ(DrivePathOfCaption(caption), std::wstring{c.letter} + L":\\");
    EXPECT_EQ(NodeElement(caption, 1), std::wstring{c.letter} + L":");
  }
  for (const wchar_t* notADrive : {L"", L"Windows", L" (C)  x", L" (1:)  x", L"(C:)"}) {
    EXPECT_EQ(DriveLetterOfCaption(notADrive), 0) << notADrive;
    EXPECT_EQ(DrivePathOfCaption(notADrive), L"") << notADrive;
  }
  EXPECT_EQ(DriveLetterOfCaption(L" (c:)  x"), L'C');
}

TEST(DirTreeNodes, NodePathsJoinWithOneBackslash) {
  EXPECT_EQ(JoinNodePath(L"C:\\", L"Windows"), L"C:\\Windows");
  EXPECT_EQ(JoinNodePath(L"C:\\Windows", L"System32"), L"C:\\Windows\\System32");
  EXPECT_EQ(JoinNodePath(L"C:\\Windows\\", L"System32"), L"C:\\Windows\\System32");
}

TEST(DirTreeNodes, FolderMaskFromFolderType) {
  using A = TFileAttr;
  EXPECT_EQ(FolderFilterMask({A::ftReadOnly, A::ftHidden, A::ftSystem, A::ftArchive}), 0x97u);
  EXPECT_EQ(FolderFilterMask({}), 0x10u);
  EXPECT_EQ(FolderFilterMask({A::ftDirectory}), 0x30u);
  EXPECT_EQ(FolderFilterMask({A::ftVolumeID}), 0x10u);
  EXPECT_EQ(FolderFilterMask({A::ftNormal}), 0x10u);
}

TEST(DirTreeNodes, WhichItemsAreListedAsSubfolders) {
  const uint32_t defaults = 0x97;
  struct Case {
    const wchar_t* name;
    uint32_t attributes;
    uint32_t mask;
    bool listed;
  } cases[] = {
      {L"Plain", 0x10, defaults, true},
      {L"file.txt", 0x20, defaults, false},
      {L"file.txt", 0x80, defaults, false},
      {L".", 0x10, defaults, false},
      {L"..", 0x10, defaults, false},
      {L"Hidden", 0x12, defaults, true},
      {L"Hidden", 0x12, 0x10, false},
      {L"ReadOnly", 0x11, 0x10, false},
      {L"System", 0x14, 0x10, false},
      {L"Archived", 0x30, defaults, false},
      {L"Archived", 0x30, 0x30, true},
      {L"Linked", 0x410, defaults, true},  // bits outside the checked ones do not matter
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsListableSubfolder(c.name, c.attributes, c.mask), c.listed) << c.name << " " << c.attributes;
}

TEST(DirTreeNodes, PathElementsAndMatching) {
  EXPECT_EQ(PathElements(L"C:\\a\\b\\"), (std::vector<std::wstring>{L"C:", L"a", L"b"}));
  EXPECT_EQ(PathElements(L"C:\\a\\\\b"), (std::vector<std::wstring>{L"C:", L"a", L"b"}));
  EXPECT_EQ(PathElements(L""), std::vector<std::wstring>{});
  EXPECT_TRUE(ElementMatches(L"C:", L"c:"));
  EXPECT_TRUE(ElementMatches(L"Program Files", L"PROGRAM FILES"));
  EXPECT_FALSE(ElementMatches(L"Program", L"Program Files"));
  EXPECT_FALSE(ElementMatches(L"", L""));
  EXPECT_EQ(NodeElement(L"Windows", 2), L"Windows");
}

TEST(DirTreeNodes, ForbiddenFolderNameCharacters) {
  for (wchar_t c : std::wstring(L"\\*?/=\"<>|:,;+^"))
    EXPECT_TRUE(HasForbiddenFolderChar(std::wstring(L"a") + c + L"b")) << static_cast<int>(c);
  for (const wchar_t* fine : {L"New Folder", L"a.b", L"x-y_z (2)", L"Ünïcödé", L"#1 & @home"})
    EXPECT_FALSE(HasForbiddenFolderChar(fine)) << fine;
}

TEST(DirTreeNodes, SameFolderOrInside) {
  EXPECT_TRUE(IsSameOrInside(L"C:\\a", L"C:\\A\\"));
  EXPECT_TRUE(IsSameOrInside(L"C:\\a\\", L"c:\\a\\b"));
  EXPECT_FALSE(IsSameOrInside(L"C:\\a", L"C:\\ab"));
  EXPECT_FALSE(IsSameOrInside(L"C:\\a\\b", L"C:\\a"));
}

namespace {

// A folder tree in memory: folder path (no trailing backslash) -> its items.
class FakeTree : public DirectoryEnumerator {
 public:
  std::map<std::wstring, std::vector<FoundItem>> folders;
  std::vector<std::wstring> listed;
  bool Enumerate(const std::wstring& pattern, const std::function<void(const FoundItem&)>& sink) override {
    std::wstring folder = pattern.substr(0, pattern.rfind(L'\\'));
    listed.push_back(folder);
    auto found = folders.find(folder);
    if (found == folders.end()) return false;
    sink({L".", 0x10, 0, 0});
    sink({L"..", 0x10, 0, 0});
    for (const FoundItem& item : found->second) sink(item);
    return true;
  }
};

}  // namespace

TEST(DirTreeNodes, FolderSizeAddsEveryFileBelow) {
  FakeTree tree;
  tree.folders[L"C:\\t"] = {{L"a.bin", 0x20, 5000000000ull, 0}, {L"sub", 0x10, 0, 0}, {L"h", 0x12, 0, 0}};
  tree.folders[L"C:\\t\\sub"] = {{L"b.bin", 0x1, 100, 0}};
  tree.folders[L"C:\\t\\h"] = {{L"c.bin", 0x6, 7, 0}};
  FolderSize size = WalkFolderSize(L"C:\\t", tree, {});
  EXPECT_EQ(size.bytes, 5000000107.0);
  EXPECT_EQ(size.files, 3u);
  EXPECT_FALSE(size.cancelled);
  EXPECT_FALSE(size.depthLimited);
}

TEST(DirTreeNodes, FolderSizeSkipsReparsePoints) {
  FakeTree tree;
  // "loop" links back to the folder itself; "big" is a linked file somewhere else.
  tree.folders[L"C:\\t"] = {{L"loop", 0x410, 0, 0}, {L"big", 0x420, 999, 0}, {L"a", 0x20, 1, 0}};
  tree.folders[L"C:\\t\\loop"] = tree.folders[L"C:\\t"];
  FolderSize size = WalkFolderSize(L"C:\\t", tree, {});
  EXPECT_EQ(size.bytes, 1.0);
  EXPECT_EQ(tree.listed, std::vector<std::wstring>{L"C:\\t"});
}

TEST(DirTreeNodes, FolderSizeStopsAtTheDepthBound) {
  FakeTree tree;
  std::wstring path = L"C:\\t";
  for (int i = 0; i < 10; ++i) {
    tree.folders[path] = {{L"d", 0x10, 0, 0}, {L"f", 0x20, 1, 0}};
    path += L"\\d";
  }
  FolderSize size = WalkFolderSize(L"C:\\t", tree, {3, nullptr});
  EXPECT_EQ(size.bytes, 4.0);  // the start and three levels below it
  EXPECT_TRUE(size.depthLimited);
  FolderSize whole = WalkFolderSize(L"C:\\t", tree, {});
  EXPECT_EQ(whole.bytes, 10.0);
  EXPECT_FALSE(whole.depthLimited);
}

TEST(DirTreeNodes, FolderSizeCanBeCancelled) {
  FakeTree tree;
  tree.folders[L"C:\\t"] = {{L"a", 0x10, 0, 0}, {L"b", 0x10, 0, 0}, {L"f", 0x20, 1, 0}};
  tree.folders[L"C:\\t\\a"] = {{L"f", 0x20, 10, 0}};
  tree.folders[L"C:\\t\\b"] = {{L"f", 0x20, 100, 0}};
  int asked = 0;
  FolderSize size = WalkFolderSize(L"C:\\t", tree, {64, [&] { return ++asked > 2; }});
  EXPECT_TRUE(size.cancelled);
  EXPECT_EQ(size.bytes, 11.0);
  EXPECT_EQ(tree.listed, (std::vector<std::wstring>{L"C:\\t", L"C:\\t\\a"}));
}

TEST(DirTreeNodes, TreeSizeFigures) {
  struct Case {
    double bytes;
    const wchar_t* units;
  } cases[] = {
      {0, L"0.00 KB"},
      {1, L"1.00 KB"},
      {1023, L"1.00 KB"},
      {1024, L"1.00 KB"},
      {1536, L"1.50 KB"},
      {99999.0 * 1024, L"99,999.00 KB"},
      {100000.0 * 1024, L"97.66 MB"},
      {5000000107.0, L"4,768.37 MB"},
  };
  for (const Case& c : cases) EXPECT_EQ(TreeSizeUnitsText(c.bytes, L",", L"."), c.units) << c.bytes;
  EXPECT_EQ(FormatGroupedNumber(5000000107.0, 0, L",", L"."), L"5,000,000,107");
  EXPECT_EQ(FormatGroupedNumber(1234.5, 0, L".", L","), L"1.235");
  EXPECT_EQ(FormatGroupedNumber(999.995, 2, L" ", L","), L"1 000,00");
  EXPECT_EQ(FormatGroupedNumber(0.004, 2, L",", L"."), L"0.00");
}
