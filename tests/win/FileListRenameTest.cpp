// In-place rename through the real list view: F2 starts the edit (or is refused), the edit's
// text is committed with Enter or dropped with Escape, and the commit keeps the file in its
// folder and its extension, and never replaces another file.
#include "tests/win/FileListFixture.h"

using namespace wintest;

namespace {

class FileListRenameTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"Blur.8bf", L"Sharpen.8bf"}) folder.Create(name);
    folder.Create(L"Locked.8bf", "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    list->SetMask(L"*.8bf");
    list->SetHideFileExt(true);
    list->SetMultiSelect(false);
    list->SetDirectory(folder.Path());
  }
  HWND Editor() { return reinterpret_cast<HWND>(SendMessageW(ListWindow(), LVM_GETEDITCONTROL, 0, 0)); }
  std::wstring EditorText() {
    wchar_t text[260] = {};
    GetWindowTextW(Editor(), text, 260);
    return text;
  }
  // F2 on the row with this caption, as the user presses it.
  void PressF2On(const std::wstring& caption) {
    int index = FindListItem(ListWindow(), caption);
    ASSERT_GE(index, 0) << "no row";
    Select(index);
    PressKey(VK_F2);
  }
  // Replaces the editor's text and ends the edit with a real key.
  void TypeAndPress(const std::wstring& text, WORD key) {
    ASSERT_TRUE(Editor()) << "no edit started";
    SetWindowTextW(Editor(), text.c_str());
    PressKey(key);
  }
};

}  // namespace

TEST_F(FileListRenameTest, EnterCommitsAndTheFileKeepsItsExtension) {
  PressF2On(L"Blur");
  EXPECT_EQ(EditorText(), L"Blur");
  EXPECT_EQ(list->EditSource(), folder.File(L"Blur.8bf"));
  TypeAndPress(L"Blur2", VK_RETURN);
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur2.8bf", L"Locked.8bf", L"Sharpen.8bf"}));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Blur2", L"Locked", L"Sharpen"}));
  EXPECT_FALSE(Editor());
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListRenameTest, WithExtensionsShownTheTypedNameIsTheWholeName) {
  list->SetHideFileExt(false);
  PressF2On(L"Blur.8bf");
  EXPECT_EQ(EditorText(), L"Blur.8bf");
  TypeAndPress(L"Blur.off", VK_RETURN);
  EXPECT_TRUE(folder.Exists(L"Blur.off"));
  EXPECT_FALSE(folder.Exists(L"Blur.8bf"));
}

TEST_F(FileListRenameTest, EditsThatChangeNothing) {
  struct Case {
    const char* what;
    const wchar_t* text;
    WORD key;
  } cases[] = {
      {"Escape drops the edit", L"Other", VK_ESCAPE},
      {"an empty name is a cancel", L"", VK_RETURN},
      {"blanks are a cancel", L"   ", VK_RETURN},
      {"the same name in other letter case", L"BLUR", VK_RETURN},
  };
  for (const Case& c : cases) {
    PressF2On(L"Blur");
    TypeAndPress(c.text, c.key);
    EXPECT_FALSE(Editor()) << c.what;
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Locked.8bf", L"Sharpen.8bf"})) << c.what;
  }
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListRenameTest, RefusedNamesLeaveTheFileWhereItIs) {
  TempFolder sub(folder.Path());
  std::wstring subName = sub.Path().substr(folder.Path().size(), sub.Path().size() - folder.Path().size() - 1);
  struct Case {
    std::wstring typed;
    std::wstring message;
  } cases[] = {
      {subName + L"\\Blur", L"\"" + subName + L"\\Blur.8bf\" is not a valid file name !"},
      {L"..\\Blur", L"\"..\\Blur.8bf\" is not a valid file name !"},
      {L"C:\\Blur", L"\"C:\\Blur.8bf\" is not a valid file name !"},
      {L"a/b", L"\"a/b.8bf\" is not a valid file name !"},
      {L"Bl*r", L"\"Bl*r.8bf\" is not a valid file name !"},
      {L"CON", L"\"CON.8bf\" is not a valid file name !"},
  };
  for (const Case& c : cases) {
    messages.clear();
    PressF2On(L"Blur");
    TypeAndPress(c.typed, VK_RETURN);
    EXPECT_EQ(messages, std::vector<std::wstring>{c.message});
    EXPECT_TRUE(folder.Exists(L"Blur.8bf"));
  }
  EXPECT_TRUE(sub.Names().empty());
}

TEST_F(FileListRenameTest, ExistingNameIsReportedAndNothingIsReplaced) {
  folder.Create(L"Sharpen.8bf", "keep me");
  PressF2On(L"Blur");
  TypeAndPress(L"Sharpen", VK_RETURN);
  EXPECT_EQ(messages, std::vector<std::wstring>{L"\"Sharpen.8bf\" already exists !"});
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Locked.8bf", L"Sharpen.8bf"}));
  // A name that exists in other letter case is another file too.
  messages.clear();
  PressF2On(L"Blur");
  TypeAndPress(L"SHARPEN", VK_RETURN);
  EXPECT_EQ(messages, std::vector<std::wstring>{L"\"SHARPEN.8bf\" already exists !"});
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));
}

TEST_F(FileListRenameTest, ReadOnlyListAndReadOnlyFileAreRefused) {
  PressF2On(L"Locked");  // attribute letters "AR"
  EXPECT_EQ(messages, std::vector<std::wstring>{L"It's ReadOnly"});
  EXPECT_FALSE(Editor());

  messages.clear();
  list->SetReadOnly(true);
  PressF2On(L"Blur");
  EXPECT_EQ(messages, std::vector<std::wstring>{L"It's ReadOnly"});
  EXPECT_FALSE(Editor());
  // Nor can the list view start an edit by itself.
  SendMessageW(ListWindow(), LVM_EDITLABELW, 0, 0);
  EXPECT_FALSE(Editor());
}

TEST_F(FileListRenameTest, RenameSwitchedOffInTheShortcutsStartsNoEdit) {
  TOvListViewActions actions = list->ShortCuts()->Actions();
  actions.Exclude(TOvListViewAction::vaRename);
  list->ShortCuts()->SetActions(actions);
  PressF2On(L"Blur");
  EXPECT_FALSE(Editor());
  list->StartRename();
  EXPECT_FALSE(Editor());
}

TEST_F(FileListRenameTest, TheEditedFileIsRenamedEvenWhenTheListIsRebuiltMeanwhile) {
  PressF2On(L"Sharpen");
  // A file that sorts first shifts every row while the editor is open.
  folder.Create(L"Aaa.8bf");
  list->UpdateFileList();
  TypeAndPress(L"Sharp", VK_RETURN);
  EXPECT_TRUE(folder.Exists(L"Sharp.8bf"));
  EXPECT_TRUE(folder.Exists(L"Aaa.8bf"));
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));
}
