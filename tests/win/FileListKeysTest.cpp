// The file list's keys through the real list view with real key presses: which keys go on to
// the normal handling, navigation, selection, permanent delete, the recycle bin, copy, cut and
// paste between two lists, and new folders.
#include "tests/win/FileListFixture.h"

#include <shellapi.h>
#include <shlobj.h>

using namespace wintest;

namespace {

class FileListKeysTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"Blur.8bf", L"Emboss.8bf", L"Sharpen.8bf"}) folder.Create(name);
    list->SetMask(L"*.8bf");
    list->SetDirectory(folder.Path());
  }
  void PressOn(int index, WORD key, bool shift = false, bool ctrl = false) {
    Select(index);
    PressKey(key, shift, ctrl);
  }
};

// The paths of the clipboard's file list and the drop effect that comes with it.
std::vector<std::wstring> ClipboardPaths(DWORD* effect) {
  std::vector<std::wstring> paths;
  if (!OpenClipboard(nullptr)) return paths;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      wchar_t path[MAX_PATH];
      DragQueryFileW(drop, i, path, MAX_PATH);
      paths.push_back(path);
    }
  }
  *effect = 0;
  if (HANDLE data = GetClipboardData(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT))) {
    *effect = *static_cast<const DWORD*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return paths;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

}  // namespace

TEST_F(FileListKeysTest, KeysKeptByTheListDoNotReachOnKeyDown) {
  std::vector<WORD> passed;
  list->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { passed.push_back(key); };
  Select(0);
  for (WORD key : std::vector<WORD>{VK_ESCAPE, VK_F4, 'Q', VK_F5}) PressKey(key);
  EXPECT_EQ(passed, (std::vector<WORD>{'Q', VK_F5}));  // F5's action ran and the key went on

  passed.clear();
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  Select(0);
  PressKey(VK_BACK);  // nothing above the drive view
  EXPECT_EQ(list->Directory(), TOvFilelistView28::kMyComputer);
  EXPECT_EQ(passed, std::vector<WORD>{});
}

TEST_F(FileListKeysTest, RefreshAndSelectAll) {
  folder.Create(L"Added.8bf");
  PressOn(0, VK_F5);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Added.8bf", L"Blur.8bf", L"Emboss.8bf", L"Sharpen.8bf"}));

  PressOn(1, 'A', false, true);
  EXPECT_EQ(list->SelCount(), 4);
  list->SetMultiSelect(false);
  list->SelectItem(0, true);
  PressOn(0, 'A', false, true);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->SelectedIndex(), 3);  // the last one
}

TEST_F(FileListKeysTest, BackspaceShowsTheParentAndPicksTheFolderLeft) {
  TempFolder sub(folder.Path());
  list->SetShowFolders(true);
  list->SetDirectory(sub.Path());
  std::vector<std::wstring> changes;
  list->OnItemChange = [&](TObject*, const std::wstring& item) { changes.push_back(item); };
  list->SetFocus();
  PressKey(VK_BACK);
  EXPECT_EQ(list->Directory(), folder.Path());
  std::wstring left = sub.Path().substr(0, sub.Path().size() - 1);
  EXPECT_EQ(list->SelectedItem(), left);
  EXPECT_EQ(changes, std::vector<std::wstring>{left});
  EXPECT_EQ(list->Model().Entry(list->SelectedIndex())->EntryPath(), left);
}

TEST_F(FileListKeysTest, EnterAndDoubleClickOpenFoldersWhenAllowed) {
  TempFolder sub(folder.Path());
  sub.Create(L"Inner.8bf");
  list->SetShowFolders(true);
  list->UpdateFileList();
  auto subRow = [&] {
    for (int i = 0; i < list->EntryCount(); ++i)
      if (list->Model().Entry(i)->EntryPath() + L"\\" == sub.Path()) return i;
    return -1;
  };
  list->SetOpenByEnter(false);
  PressOn(subRow(), VK_RETURN);
  EXPECT_EQ(list->Directory(), folder.Path());
  list->SetOpenByEnter(true);
  PressOn(subRow(), VK_RETURN);
  EXPECT_EQ(list->Directory(), sub.Path());

  // Ctrl+O opens whatever Enter does.
  list->SetOpenByEnter(false);
  list->SetDirectory(folder.Path());
  PressOn(subRow(), 'O', false, true);
  EXPECT_EQ(list->Directory(), sub.Path());

  list->SetDirectory(folder.Path());
  POINT p = ListItemCentre(ListWindow(), subRow());
  ClickAt(ListWindow(), p.x, p.y, true);
  EXPECT_EQ(list->Directory(), sub.Path());
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L" Up one level", L"Inner.8bf"}));
}

TEST_F(FileListKeysTest, DoubleClickWithoutOpeningKnowsTheParentEntryByItsName) {
  TempFolder sub(folder.Path());
  // A file whose caption reads exactly like the parent entry's.
  sub.Create(L" Parent");
  list->SetMask(L"*");
  list->SetShowFolders(true);
  list->SetParentDirCaption(L"Parent");
  list->SetOpenByDblClick(false);
  list->SetDirectory(sub.Path());
  ASSERT_EQ(Rows(), (std::vector<std::wstring>{L" Parent", L" Parent"}));
  int dblClicks = 0;
  list->OnDblClick = [&](TObject*) { ++dblClicks; };

  POINT file = ListItemCentre(ListWindow(), 1);
  ClickAt(ListWindow(), file.x, file.y, true);
  EXPECT_EQ(dblClicks, 1);
  EXPECT_EQ(list->Directory(), sub.Path());

  POINT parent = ListItemCentre(ListWindow(), 0);
  ClickAt(ListWindow(), parent.x, parent.y, true);
  EXPECT_EQ(dblClicks, 1);
  EXPECT_EQ(list->Directory(), folder.Path());
}

TEST_F(FileListKeysTest, PermanentDeleteAsksForEachFileAndDeletesOnYes) {
  list->SetHideFileExt(true);
  answers = {IDNO};
  PressOn(0, VK_DELETE, true);
  EXPECT_EQ(messages, std::vector<std::wstring>{L"Are you sure you want to permanently delete file\r  \"Blur\"?"});
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));

  // Two files: a question for each, answered Yes and No.
  messages.clear();
  answers = {IDYES, IDNO};
  Select(0);
  list->SelectItem(2, true);
  PressKey(VK_DELETE, true);
  EXPECT_EQ(messages, (std::vector<std::wstring>{L"Are you sure you want to permanently delete file\r  \"Blur\"?",
                                                 L"Are you sure you want to permanently delete file\r  \"Sharpen\"?"}));
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Emboss.8bf", L"Sharpen.8bf"}));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Emboss", L"Sharpen"}));
}

TEST_F(FileListKeysTest, PermanentDeleteRemovesTheFileAskedAboutEvenWhenTheListChangedMeanwhile) {
  // While the question is open the list is rebuilt with a file that sorts first: the row the
  // user picked now shows another file.
  duringQuestion = [&] {
    folder.Create(L"Aaa.8bf");
    list->UpdateFileList();
  };
  answers = {IDYES};
  PressOn(1, VK_DELETE, true);  // Emboss.8bf
  EXPECT_EQ(messages, std::vector<std::wstring>{L"Are you sure you want to permanently delete file\r  \"Emboss.8bf\"?"});
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Aaa.8bf", L"Blur.8bf", L"Sharpen.8bf"}));
}

TEST_F(FileListKeysTest, PermanentDeleteStopsAtAFolder) {
  TempFolder sub(folder.Path());
  list->SetShowFolders(true);
  list->UpdateFileList();
  list->HandleColumnClick(0);  // descending: "..", the files, then the folder
  ASSERT_EQ(list->Model().Entry(4)->EntryKind, L"dir");
  std::vector<WORD> passed;
  list->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    if (key != VK_SHIFT) passed.push_back(key);
  };
  answers = {IDYES, IDYES};
  Select(1);  // Sharpen
  list->SelectItem(4, true);  // the folder
  PressKey(VK_DELETE, true);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_FALSE(folder.Exists(L"Sharpen.8bf"));
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));
  EXPECT_EQ(GetFileAttributesW(sub.Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(passed, std::vector<WORD>{});
}

namespace {

// The paths the code under test asks the platform to delete while a DeleteWatch lives.
std::vector<std::wstring>* deleteRequests = nullptr;
void* platformDeleteFile = nullptr;

BOOL WINAPI WatchedDeleteFile(const wchar_t* path) {
  if (deleteRequests) deleteRequests->push_back(path);
  return reinterpret_cast<BOOL(WINAPI*)(const wchar_t*)>(platformDeleteFile)(path);
}

struct DeleteWatch {
  std::vector<std::wstring> requests;
  ImportHook hook{L"kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&WatchedDeleteFile)};
  DeleteWatch() {
    platformDeleteFile = hook.Original();
    deleteRequests = &requests;
  }
  ~DeleteWatch() { deleteRequests = nullptr; }
};

}  // namespace

TEST_F(FileListKeysTest, PermanentDeleteOfADriveDeletesNothing) {
  // The platform would refuse to delete a drive root anyway; the list must not even ask it to.
  // The watch sees the delete of a file, so its silence for the drive means something.
  DeleteWatch watch;
  ASSERT_TRUE(watch.hook.Active());
  answers = {IDYES};
  PressOn(0, VK_DELETE, true);
  EXPECT_EQ(watch.requests, std::vector<std::wstring>{folder.File(L"Blur.8bf")});
  EXPECT_FALSE(folder.Exists(L"Blur.8bf"));

  watch.requests.clear();
  messages.clear();
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  ASSERT_GT(list->EntryCount(), 0);
  answers = {IDYES};
  PressOn(0, VK_DELETE, true);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].find(L"Are you sure you want to permanently delete file\r  \" ("), 0u);
  EXPECT_EQ(watch.requests, std::vector<std::wstring>{});
  EXPECT_EQ(GetFileAttributesW(list->Model().Entry(0)->EntryPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(FileListKeysTest, DeleteAsksTheShellFirst) {
  DialogAnswer no(IDNO);
  PressOn(1, VK_DELETE);
  EXPECT_TRUE(no.Answered());
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Emboss.8bf", L"Sharpen.8bf"}));
}

TEST_F(FileListKeysTest, CopyCutAndPasteBetweenTwoLists) {
  TempFolder other;
  other.Create(L"Other.8bf");
  TOvFilelistView28* second = AddList(10, 250, 600, 180);
  list->SetBounds(10, 10, 600, 230);
  second->SetMask(L"*.8bf");
  second->SetDirectory(other.Path());
  Pump();

  PressOn(0, 'C', false, true);  // Blur
  DWORD effect = 0;
  EXPECT_EQ(ClipboardPaths(&effect), std::vector<std::wstring>{folder.File(L"Blur.8bf")});
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(list->TransferList(), std::vector<std::wstring>{folder.File(L"Blur.8bf")});
  Select(0, second);
  PressKey('V', false, true);
  EXPECT_EQ(other.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Other.8bf"}));
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));
  EXPECT_EQ(Rows(second), (std::vector<std::wstring>{L"Blur.8bf", L"Other.8bf"}));

  // Cut in one list, paste in the other: the mode is shared, the file moves.
  PressOn(1, 'X', false, true);  // Emboss
  EXPECT_EQ(ClipboardPaths(&effect), std::vector<std::wstring>{folder.File(L"Emboss.8bf")});
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(FileOperations::TransferMode(), TTransferMode::tmMove);
  Select(0, second);
  PressKey('V', false, true);
  EXPECT_EQ(other.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Emboss.8bf", L"Other.8bf"}));
  EXPECT_FALSE(folder.Exists(L"Emboss.8bf"));
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListKeysTest, PasteNeedsASelectionAndSomethingToPaste) {
  EmptyTheClipboard();
  list->SelectItem(0, false);
  list->SetFocus();
  list->MarkForTransfer(TTransferMode::tmCopy);  // nothing selected: nothing marked
  EXPECT_TRUE(list->TransferList().empty());
  // Ctrl+V without a selection does nothing; with one but nothing to paste neither.
  TempFolder other;
  other.Create(L"x.8bf");
  list->SetDirectory(other.Path());
  PressKey('V', false, true);
  PressOn(0, 'V', false, true);
  EXPECT_EQ(other.Names(), std::vector<std::wstring>{L"x.8bf"});
  EXPECT_EQ(messages, std::vector<std::wstring>{});
  // Asked directly, the paste says there is nothing.
  list->PasteFiles();
  EXPECT_EQ(messages, std::vector<std::wstring>{L"No file(s) selected"});
}

TEST_F(FileListKeysTest, AnotherProgramsFileListIsCopiedWhateverWasCutHere) {
  TempFolder other;
  other.Create(L"Other.8bf");
  TempFolder source;
  source.Create(L"Foreign.8bf");
  TOvFilelistView28* second = AddList(10, 250, 600, 180);
  second->SetMask(L"*.8bf");
  second->SetDirectory(other.Path());
  PressOn(0, 'X', false, true);  // the shared mode is now "move"
  // Another program puts its own file list on the clipboard, asking for a copy.
  {
    std::wstring path = source.File(L"Foreign.8bf");
    size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(header + 1), path.size());
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_HDROP, block);
    CloseClipboard();
  }
  Select(0, second);
  PressKey('V', false, true);
  EXPECT_TRUE(source.Exists(L"Foreign.8bf"));
  EXPECT_TRUE(other.Exists(L"Foreign.8bf"));
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));  // the file cut here was not touched
}

TEST_F(FileListKeysTest, NewFolderIsNamedAtOnce) {
  list->SetShowFolders(true);
  list->UpdateFileList();
  PressOn(0, 'N', false, true);
  ASSERT_TRUE(folder.Exists(L"New Folder"));
  HWND editor = reinterpret_cast<HWND>(SendMessageW(ListWindow(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(editor);
  wchar_t text[64] = {};
  GetWindowTextW(editor, text, 64);
  EXPECT_STREQ(text, L"New Folder");
  SetWindowTextW(editor, L"Fresh");
  PressKey(VK_RETURN);
  EXPECT_TRUE(folder.Exists(L"Fresh"));
  EXPECT_FALSE(folder.Exists(L"New Folder"));
}

TEST_F(FileListKeysTest, NewFolderTakesTheFirstFreeNumber) {
  CreateDirectoryW(folder.File(L"New Folder").c_str(), nullptr);
  CreateDirectoryW(folder.File(L"New Folder(2)").c_str(), nullptr);
  // As in the main window: folders not listed, no renaming, so no editing starts.
  list->SetReadOnly(true);
  PressOn(0, 'N', false, true);
  EXPECT_TRUE(folder.Exists(L"New Folder(3)"));
  EXPECT_FALSE(SendMessageW(ListWindow(), LVM_GETEDITCONTROL, 0, 0));
  EXPECT_EQ(messages, std::vector<std::wstring>{});

  // No folder in the drive view. Its directory is no path: joined with the folder name it would
  // name "My Computer\New Folder" below the current directory, so such a folder is made ready
  // there to see that nothing is created in it.
  CurrentDirectoryScope current(folder.Path());
  ASSERT_TRUE(CreateDirectoryW(folder.File(TOvFilelistView28::kMyComputer).c_str(), nullptr));
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  PressOn(0, 'N', false, true);
  EXPECT_FALSE(folder.Exists(std::wstring(TOvFilelistView28::kMyComputer) + L"\\New Folder"));
  list->CreateNewFolder();  // the list refuses by itself too, not only through its keys
  EXPECT_FALSE(folder.Exists(std::wstring(TOvFilelistView28::kMyComputer) + L"\\New Folder"));
  EXPECT_FALSE(folder.Exists(L"New Folder(4)"));
}

TEST_F(FileListKeysTest, ViewOpensNoProgramFiles) {
  PressOn(0, 'F', false, true);  // Blur.8bf: not a text, picture or page
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}
