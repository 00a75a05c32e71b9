// Names and paths of file-list entries: path parts, valid names, what an in-place rename makes
// of the edited text, new folder names and the files View opens.
#include <gtest/gtest.h>

#include <set>

#include "filelist/FileNames.h"
#include "framework/Strings.h"

using namespace filelist;

TEST(FileListNames, PathParts) {
  EXPECT_EQ(FolderOf(L"C:\\Plug\\Blur.8bf"), L"C:\\Plug\\");
  EXPECT_EQ(NameOf(L"C:\\Plug\\Blur.8bf"), L"Blur.8bf");
  EXPECT_EQ(FolderOf(L"Blur.8bf"), L"");
  EXPECT_EQ(NameOf(L"Blur.8bf"), L"Blur.8bf");
  EXPECT_EQ(NameOf(L"C:\\Plug\\"), L"");
}

TEST(FileListNames, ValidNames) {
  for (const wchar_t* name : {L"Blur.8bf", L"a.b.c", L" leading space", L"New Folder(2)", L"\u6ee4\u955c", L"CONSOLE.8bf",
                              L"COM0", L"LPT10.txt", L".hidden"})
    EXPECT_TRUE(IsValidFileName(name)) << bv::WideToUtf8(name);
  for (const wchar_t* name : {L"", L".", L"..", L"a\\b", L"..\\up", L"a/b", L"C:x", L"a*", L"a?", L"\"q\"", L"<", L">",
                              L"a|b", L"tab\there", L"dot.", L"space ", L"CON", L"nul.8bf", L"Com1", L"LPT9.txt", L"aux .x"})
    EXPECT_FALSE(IsValidFileName(name)) << bv::WideToUtf8(name);
}

TEST(FileListNames, RenamePlans) {
  TextComparer comparer;
  struct Case {
    const wchar_t* source;
    const wchar_t* typed;
    bool hidExtension;
    RenameOutcome outcome;
    const wchar_t* target;  // for kRename
  } cases[] = {
      {L"C:\\P\\Blur.8bf", L"Blur2", true, RenameOutcome::kRename, L"C:\\P\\Blur2.8bf"},
      {L"C:\\P\\Blur.8bf", L"Blur2.off", false, RenameOutcome::kRename, L"C:\\P\\Blur2.off"},
      {L"C:\\P\\Blur.8bf", L"Blur2", false, RenameOutcome::kRename, L"C:\\P\\Blur2"},
      {L"C:\\P\\a.b.8bf", L"c", true, RenameOutcome::kRename, L"C:\\P\\c.8bf"},
      {L"C:\\P\\noext", L"other", true, RenameOutcome::kRename, L"C:\\P\\other"},
      {L"C:\\P\\.hidden", L"shown", true, RenameOutcome::kRename, L"C:\\P\\shown.hidden"},
      {L"C:\\P\\Blur.8bf", L"BLUR", true, RenameOutcome::kUnchanged, L""},
      {L"C:\\P\\Blur.8bf", L"blur.8BF", false, RenameOutcome::kUnchanged, L""},
      {L"C:\\P\\Blur.8bf", L"", true, RenameOutcome::kCancel, L""},
      {L"C:\\P\\Blur.8bf", L"   ", false, RenameOutcome::kCancel, L""},
      {L"C:\\P\\Blur.8bf", L"..\\Blur", true, RenameOutcome::kInvalidName, L""},
      {L"C:\\P\\Blur.8bf", L"C:\\Windows\\Blur", true, RenameOutcome::kInvalidName, L""},
      {L"C:\\P\\Blur.8bf", L"sub/Blur", false, RenameOutcome::kInvalidName, L""},
      {L"C:\\P\\Blur.8bf", L"B*", true, RenameOutcome::kInvalidName, L""},
      {L"C:\\P\\noext", L"trailing.", true, RenameOutcome::kInvalidName, L""},
      {L"C:\\P\\Blur.8bf", L"trailing.", true, RenameOutcome::kRename, L"C:\\P\\trailing..8bf"},
      // A dot in a folder name is no extension of the file in it.
      {L"C:\\Plug.ins\\noext", L"other", true, RenameOutcome::kRename, L"C:\\Plug.ins\\other"},
      {L"C:\\Plug.ins\\Blur.8bf", L"Blur2", true, RenameOutcome::kRename, L"C:\\Plug.ins\\Blur2.8bf"},
      {L"C:\\a.b\\c.d\\noext", L"noext", true, RenameOutcome::kUnchanged, L""},
      {L"C:\\Plug.ins\\noext", L"other", false, RenameOutcome::kRename, L"C:\\Plug.ins\\other"},
  };
  for (const Case& c : cases) {
    RenamePlan plan = PlanRename(c.source, c.typed, c.hidExtension, comparer);
    std::string what = bv::WideToUtf8(c.source) + " <- " + bv::WideToUtf8(c.typed);
    EXPECT_EQ(plan.outcome, c.outcome) << what;
    if (c.outcome == RenameOutcome::kRename) {
      EXPECT_EQ(plan.target, c.target) << what;
      EXPECT_EQ(plan.name, NameOf(c.target)) << what;
    }
  }
}

TEST(FileListNames, NewFolderNamesCountFromTwo) {
  std::set<std::wstring> existing;
  auto exists = [&](const std::wstring& name) { return existing.count(name) > 0; };
  EXPECT_EQ(UniqueNewName(L"C:\\P\\New Folder", exists), L"C:\\P\\New Folder");
  existing = {L"C:\\P\\New Folder", L"C:\\P\\New Folder(2)"};
  EXPECT_EQ(UniqueNewName(L"C:\\P\\New Folder", exists), L"C:\\P\\New Folder(3)");
  existing = {L"C:\\P\\New Folder", L"C:\\P\\New Folder(3)"};
  EXPECT_EQ(UniqueNewName(L"C:\\P\\New Folder", exists), L"C:\\P\\New Folder(2)");
  EXPECT_EQ(UniqueNewName(L"x", [](const std::wstring&) { return true; }), L"");
}

TEST(FileListNames, ExtensionsWithPicturesOfTheirOwn) {
  for (const wchar_t* ext : {L".EXE", L".exe", L".ico", L".CUR", L".ANI", L".lnk"}) EXPECT_TRUE(HasOwnIconExtension(ext)) << bv::WideToUtf8(ext);
  for (const wchar_t* ext : {L"", L".8BF", L".off", L".TXT", L"exe", L".EX", L".exe2"}) EXPECT_FALSE(HasOwnIconExtension(ext)) << bv::WideToUtf8(ext);
}

TEST(FileListNames, ViewableExtensions) {
  for (const wchar_t* ext : {L".TXT", L".txt", L".jpg", L".Html", L".htm", L".cpp", L".ico", L".wri", L".tiff"})
    EXPECT_TRUE(IsViewableExtension(ext)) << bv::WideToUtf8(ext);
  for (const wchar_t* ext : {L"", L".8bf", L".exe", L".bat", L".TX", L"TXT", L".jpeg", L".off"})
    EXPECT_FALSE(IsViewableExtension(ext)) << bv::WideToUtf8(ext);
}

TEST(FileListNames, ContentsExtensionsLeaveOutWebPages) {
  for (const wchar_t* e : {L".TXT", L".c", L".Rtf", L".BMP", L".wmf", L".ICO"}) EXPECT_TRUE(IsContentsExtension(e)) << bv::WideToUtf8(e);
  for (const wchar_t* e : {L".HTM", L".html", L"", L".8bf", L".TX"}) EXPECT_FALSE(IsContentsExtension(e)) << bv::WideToUtf8(e);
}

TEST(FileListNames, ShortcutNamesNeverReplaceAFile) {
  struct Case {
    std::set<std::wstring> existing;
    const wchar_t* expected;
  } cases[] = {
      {{}, L"D:\\Desk\\Blur.lnk"},
      {{L"D:\\Desk\\Blur.lnk"}, L"D:\\Desk\\Blur (2).lnk"},
      {{L"D:\\Desk\\Blur.lnk", L"D:\\Desk\\Blur (2).lnk"}, L"D:\\Desk\\Blur (3).lnk"},
      {{L"D:\\Desk\\Blur (2).lnk"}, L"D:\\Desk\\Blur.lnk"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UniqueLinkPath(L"D:\\Desk\\", L"Blur", [&](const std::wstring& p) { return c.existing.count(p) > 0; }),
              c.expected);
  EXPECT_EQ(UniqueLinkPath(L"D:\\", L"x", [](const std::wstring&) { return true; }), L"");
}

TEST(FileListNames, FolderIntoItself) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* target;
    bool inside;
  } cases[] = {
      {L"C:\\P\\Sub", L"C:\\P\\Sub", true},
      {L"C:\\P\\Sub", L"C:\\P\\Sub\\", true},
      {L"C:\\P\\Sub\\", L"c:\\p\\sub\\Deeper\\", true},
      {L"C:\\P\\Sub", L"C:\\P\\Sub\\Deeper\\Sub", true},
      {L"C:\\P\\Sub", L"C:\\P\\", false},
      {L"C:\\P\\Sub", L"C:\\P\\Subway\\", false},
      {L"C:\\P\\Sub", L"D:\\P\\Sub\\", false},
      {L"", L"C:\\", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsSameOrInside(c.folder, c.target), c.inside) << bv::WideToUtf8(c.folder) << " / " << bv::WideToUtf8(c.target);
}

TEST(FileListNames, ArgumentsAndClipboardLines) {
  EXPECT_EQ(QuotedArgument(L"C:\\My Files\\a b.txt"), L"\"C:\\My Files\\a b.txt\"");
  EXPECT_EQ(PathLines({}), L"");
  EXPECT_EQ(PathLines({L"C:\\a"}), L"C:\\a");
  EXPECT_EQ(PathLines({L"C:\\a", L"C:\\b c", L"C:\\\u00e9"}), L"C:\\a\r\nC:\\b c\r\nC:\\\u00e9");
}
