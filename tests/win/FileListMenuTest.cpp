// The file list's context menu and the operations it starts, through the real list view: the
// menu's items, captions, pictures and enabling for the selection, the SendTo shortcuts, the
// clipboard's bytes, pasting what another program put there, a folder refused into itself,
// dropped files (on the list and on the main window), the recycle bin, desktop shortcuts, and
// the menu opened with a real right click.
#include "tests/win/FileListFixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>

#include "filelist/FileNames.h"
#include "filelist/OvFilelistView28PopUp.h"
#include "framework/Strings.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;

namespace {

class FileListMenuTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"Blur.8bf", L"Notes.txt", L"Photo.jpg"}) folder.Create(name);
    list->SetDirectory(folder.Path());
    TOvFilelistView28PopUp::OverrideSendToFolder(sendTo.Path());
    TOvFilelistView28::OverrideDesktopFolder(desktop.Path());
  }
  void TearDown() override {
    TOvFilelistView28PopUp::OverrideSendToFolder(L"");
    TOvFilelistView28::OverrideDesktopFolder(L"");
    TOvFilelistView28::SetFolderPicker(nullptr);
    FileListFixture::TearDown();
  }
  // Selects exactly the rows with these captions.
  void SelectRows(std::initializer_list<const wchar_t*> captions, TOvFilelistView28* target = nullptr) {
    if (!target) target = list;
    target->SetFocus();
    ListView_SetItemState(target->Handle(), -1, 0, LVIS_SELECTED);
    for (const wchar_t* caption : captions) {
      int row = FindListItem(target->Handle(), caption);
      ASSERT_GE(row, 0) << bv::WideToUtf8(caption);
      ListView_SetItemState(target->Handle(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    Pump(20);
  }
  // A shortcut to `target` in `where`, made through the list's own desktop-shortcut operation.
  std::wstring MakeShortcut(TOvFilelistView28* source, const wchar_t* caption, const TempFolder& where) {
    TOvFilelistView28::OverrideDesktopFolder(where.Path());
    SelectRows({caption}, source);
    std::wstring made = source->CreateDesktopShortcut();
    TOvFilelistView28::OverrideDesktopFolder(desktop.Path());
    return made;
  }

  TempFolder sendTo;
  TempFolder desktop;
};

std::vector<std::wstring> MenuCaptions(HMENU menu) {
  std::vector<std::wstring> captions;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    captions.push_back(text);
  }
  return captions;
}

// The picture the menu's owner draws for an item.
HBITMAP ItemPicture(const TOvFilelistView28PopUp& popUp, HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  return info.hbmpItem == HBMMENU_CALLBACK ? popUp.PictureOf(info.dwItemData) : nullptr;
}

bool Enabled(HMENU menu, int position) {
  return !(GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
}

// The raw bytes of a clipboard format, empty when it is not there.
std::string ClipboardBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* p = GlobalLock(data)) {
      bytes.assign(static_cast<const char*>(p), GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

std::wstring ClipboardText() {
  std::string bytes = ClipboardBytes(CF_UNICODETEXT);
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

// A file list block as another program makes one: DROPFILES, wide paths, a final NUL.
HGLOBAL FileListBlock(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(header + 1);
  for (const auto& p : paths) {
    p.copy(text, p.size());
    text += p.size() + 1;
  }
  GlobalUnlock(block);
  return block;
}

// Another program's copy or cut: its file list and its drop effect on the clipboard.
void PutForeignFileList(const std::vector<std::wstring>& paths, DWORD effect) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_HDROP, FileListBlock(paths));
  HGLOBAL value = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  *static_cast<DWORD*>(GlobalLock(value)) = effect;
  GlobalUnlock(value);
  SetClipboardData(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT), value);
  CloseClipboard();
}

// Watches for a pop-up menu of this process from a thread of its own: when one shows within
// `milliseconds`, presses `key` in it. Shown() waits for the watch to end, pumping meanwhile.
class MenuWatch {
 public:
  explicit MenuWatch(WORD key, int milliseconds = 5000) : state_{key, milliseconds, false} {
    thread_.reset(CreateThread(nullptr, 0, Watch, &state_, 0, nullptr));
  }
  MenuWatch(const MenuWatch&) = delete;
  MenuWatch& operator=(const MenuWatch&) = delete;
  ~MenuWatch() { Shown(); }
  bool Shown() {
    while (thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT) Pump(20);
    return state_.shown;
  }

 private:
  struct State {
    WORD key;
    int milliseconds;
    bool shown;
  };
  static DWORD WINAPI Watch(void* data) {
    auto* state = static_cast<State*>(data);
    for (int waited = 0; waited < state->milliseconds && !state->shown; waited += 50) {
      HWND menu = FindWindowW(L"#32768", nullptr);
      state->shown = menu && IsWindowVisible(menu);
      if (!state->shown) Sleep(50);
    }
    if (!state->shown) return 0;
    // A screenshot of the open menu may be taken meanwhile.
    char hold[16] = {};
    if (GetEnvironmentVariableA("BRENVALE_HOLD_MENU_MS", hold, sizeof(hold))) Sleep(static_cast<DWORD>(atoi(hold)));
    PressKey(state->key);
    return 0;
  }

  State state_;
  UniqueKernelHandle thread_;
};

std::wstring ShortcutTarget(const std::wstring& link) { return FileOperations::ResolveShortcut(nullptr, link); }

}  // namespace

TEST_F(FileListMenuTest, LayoutCaptionsPicturesAndSendToShortcuts) {
  TempFolder target;
  std::wstring link = MakeShortcut(list, L"Blur.8bf", sendTo);  // a shortcut to a file
  ASSERT_FALSE(link.empty());
  TOvFilelistView28PopUp& menu = list->PopUpMenu();
  HMENU top = menu.Handle();
  EXPECT_EQ(MenuCaptions(top), (std::vector<std::wstring>{L"&Open", L"&View", L"", L"Se&nd To", L"", L"Cu&t", L"&Copy",
                                                         L"&Paste", L"", L"&Rename", L"&Delete", L"", L"&Properties",
                                                         L"", L"&New Folder..."}));
  for (int i : {0, 1, 3, 5, 6, 7, 9, 10, 12, 14}) EXPECT_TRUE(ItemPicture(menu, top, i)) << i;
  EXPECT_EQ(GetSubMenu(top, 3), menu.SendToMenu());
  EXPECT_EQ(MenuCaptions(menu.SendToMenu()), (std::vector<std::wstring>{L"Any Folder ...", L"Clipboard as Contents",
                                                                        L"Clipboard as FileName",
                                                                        L"DeskTop as ShortCut", L"Blur"}));
  EXPECT_EQ(menu.SendToPaths(), std::vector<std::wstring>{link});
  EXPECT_EQ(GetMenuItemID(menu.SendToMenu(), 4), 34u);
  EXPECT_TRUE(ItemPicture(menu, menu.SendToMenu(), 4));  // the shortcut's shell icon
  // The glyphs carry their transparency: a 32-bit picture whose corner is clear.
  BITMAP glyph{};
  ASSERT_TRUE(GetObjectW(ItemPicture(menu, top, 0), sizeof(glyph), &glyph));
  EXPECT_EQ(glyph.bmBitsPixel, 32);
  ASSERT_TRUE(glyph.bmBits);
  EXPECT_EQ(static_cast<const uint32_t*>(glyph.bmBits)[0] >> 24, 0u);

  // A language change rebuilds the captions in place; the SendTo folder is read again.
  MakeShortcut(list, L"Notes.txt", sendTo);
  list->SetLanguage(TLanguage::lnGerman);
  const FileListTexts& german = TextsOf(TLanguage::lnGerman);
  EXPECT_EQ(MenuCaptions(list->PopUpMenu().Handle())[0], german.MnuOpen);
  EXPECT_EQ(MenuCaptions(list->PopUpMenu().SendToMenu())[3], german.MnuDesktopLink);
  EXPECT_EQ(list->PopUpMenu().SendToPaths().size(), 2u);
}

TEST_F(FileListMenuTest, AnEmptySendToFolderLeavesTheFourFixedItems) {
  EXPECT_EQ(GetMenuItemCount(list->PopUpMenu().SendToMenu()), 4);
  EXPECT_TRUE(list->PopUpMenu().SendToPaths().empty());
}

TEST_F(FileListMenuTest, ItemsFollowTheSelection) {
  TOvFilelistView28PopUp& menu = list->PopUpMenu();
  HMENU top = menu.Handle();
  HMENU send = menu.SendToMenu();
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  struct Case {
    std::vector<const wchar_t*> rows;
    bool view, rename, paste, contents, open;
  } cases[] = {
      {{}, false, false, false, false, false},
      {{L"Notes.txt"}, true, true, false, true, true},
      {{L"Photo.jpg"}, true, true, false, true, true},
      {{L"Blur.8bf"}, false, true, false, false, true},
      {{L"Notes.txt", L"Photo.jpg"}, true, false, false, false, true},
  };
  for (const Case& c : cases) {
    list->SetFocus();
    ListView_SetItemState(ListWindow(), -1, 0, LVIS_SELECTED);
    for (const wchar_t* row : c.rows) ListView_SetItemState(ListWindow(), FindListItem(ListWindow(), row), LVIS_SELECTED, LVIS_SELECTED);
    menu.UpdateEnabling();
    std::string what = c.rows.empty() ? "nothing" : bv::WideToUtf8(c.rows[0]) + " +" + std::to_string(c.rows.size() - 1);
    EXPECT_EQ(Enabled(top, 0), c.open) << what;
    EXPECT_EQ(Enabled(top, 1), c.view) << what;
    EXPECT_EQ(Enabled(top, 3), c.open) << what;
    EXPECT_EQ(Enabled(top, 7), c.paste) << what;
    EXPECT_EQ(Enabled(top, 9), c.rename) << what;
    EXPECT_TRUE(Enabled(top, 14)) << what;
    EXPECT_EQ(Enabled(send, 1), c.contents) << what;
    EXPECT_EQ(Enabled(send, 2), c.open) << what;
  }
  // Something marked: Paste is enabled.
  SelectRows({L"Blur.8bf"});
  list->MarkForTransfer(TTransferMode::tmCopy);
  menu.UpdateEnabling();
  EXPECT_TRUE(Enabled(top, 7));
}

TEST_F(FileListMenuTest, ClipboardFileListIsWideAndDoubleNulTerminated) {
  const std::wstring name = L"Fl\u00f6u \u6ee4\u955c.8bf";
  folder.Create(name);
  list->UpdateFileList();
  SelectRows({name.c_str()});
  list->PopUpMenu().Dispatch(static_cast<int>(GetMenuItemID(list->PopUpMenu().Handle(), 6)));  // Copy
  std::wstring path = folder.File(name);
  std::string expected(sizeof(DROPFILES), '\0');
  expected[0] = static_cast<char>(sizeof(DROPFILES));  // pFiles, little-endian
  expected[16] = 1;                                    // fWide
  expected.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
  expected.append(sizeof(wchar_t), '\0');
  std::string bytes = ClipboardBytes(CF_HDROP);
  ASSERT_GE(bytes.size(), expected.size());
  EXPECT_EQ(bytes.substr(0, expected.size()), expected);
}

TEST_F(FileListMenuTest, NamesAndContentsOnTheClipboard) {
  SelectRows({L"Notes.txt", L"Photo.jpg", L"Blur.8bf"});
  list->CopyNamesToClipboard();
  EXPECT_EQ(ClipboardText(), folder.File(L"Blur.8bf") + L"\r\n" + folder.File(L"Notes.txt") + L"\r\n" + folder.File(L"Photo.jpg"));

  struct Case {
    const wchar_t* name;
    std::string content;
    std::wstring text;
  } cases[] = {
      {L"Utf8.txt", "Gr\xC3\xBC\xC3\x9F" "e\r\nzwei", L"Gr\u00fc\u00dfe\r\nzwei"},
      {L"Bom.ini", "\xEF\xBB\xBF[a]\r\nb=\xE6\xBB\xA4", L"[a]\r\nb=\u6ee4"},
      {L"Wide.c", std::string("\xFF\xFEi\0n\0t\0", 8), L"int"},
  };
  for (const Case& c : cases) {
    folder.Create(c.name, c.content);
    list->UpdateFileList();
    SelectRows({c.name});
    list->CopyContentsToClipboard();
    EXPECT_EQ(ClipboardText(), c.text) << bv::WideToUtf8(c.name);
  }

  // A bitmap file goes as a picture: the clipboard's bitmap is the file behind its file header.
  std::string bmp = "BM";
  bmp.append(12, '\0');
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = 2;
  header.biHeight = 1;
  header.biPlanes = 1;
  header.biBitCount = 24;
  bmp.append(reinterpret_cast<const char*>(&header), sizeof(header));
  bmp.append("\x10\x20\x30\x40\x50\x60\0\0", 8);
  folder.Create(L"Dot.bmp", bmp);
  list->UpdateFileList();
  SelectRows({L"Dot.bmp"});
  list->CopyContentsToClipboard();
  std::string dib = ClipboardBytes(CF_DIB);
  ASSERT_GE(dib.size(), bmp.size() - 14);
  EXPECT_EQ(dib.substr(0, bmp.size() - 14), bmp.substr(14));

  // Another picture is decoded, never put there as text: a red and a blue pixel.
  const char png[] = "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x01\x08\x06\x00\x00\x00\xF4\x22\x7F\x8A\x00\x00\x00\x0E\x49\x44\x41\x54\x78\x9C\x63\xF8\xCF\xC0\x00\x42\xFF\x01\x0F\xF9\x03\xFD\x85\x11\x99\x76\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82";
  folder.Create(L"Two.png", std::string(png, sizeof(png) - 1));
  list->UpdateFileList();
  SelectRows({L"Two.png"});
  list->CopyContentsToClipboard();
  dib = ClipboardBytes(CF_DIB);
  ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER) + 8);
  BITMAPINFOHEADER decoded{};
  std::memcpy(&decoded, dib.data(), sizeof(decoded));
  EXPECT_EQ(decoded.biWidth, 2);
  EXPECT_EQ(decoded.biHeight, 1);
  EXPECT_EQ(decoded.biBitCount, 32);
  EXPECT_EQ(dib.substr(sizeof(BITMAPINFOHEADER), 8), std::string("\x00\x00\xFF\xFF\xFF\x00\x00\xFF", 8));
  EXPECT_EQ(ClipboardText(), L"");
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListMenuTest, AnotherProgramsFileListFollowsItsDropEffect) {
  TempFolder other;
  TOvFilelistView28* second = AddList(10, 250, 600, 180);
  list->SetBounds(10, 10, 600, 230);
  second->SetDirectory(other.Path());
  Pump();
  struct Case {
    const char* what;
    bool cutHereFirst;
    DWORD effect;
    bool moved;
  } cases[] = {
      // Our own cut of the same file came first: the other program's copy is still a copy.
      {"copy after our cut of the same file", true, DROPEFFECT_COPY, false},
      {"copy", false, DROPEFFECT_COPY, false},
      {"move", false, DROPEFFECT_MOVE, true},
      {"copy or move", false, DROPEFFECT_COPY | DROPEFFECT_MOVE, false},
  };
  for (const Case& c : cases) {
    folder.Create(L"Foreign.8bf");
    list->UpdateFileList();
    if (c.cutHereFirst) {
      SelectRows({L"Foreign.8bf"});
      list->MarkForTransfer(TTransferMode::tmMove);
    }
    PutForeignFileList({folder.File(L"Foreign.8bf")}, c.effect);
    SelectRows({}, second);
    second->PasteFiles();
    EXPECT_TRUE(other.Exists(L"Foreign.8bf")) << c.what;
    EXPECT_EQ(folder.Exists(L"Foreign.8bf"), !c.moved) << c.what;
    DeleteFileW(other.File(L"Foreign.8bf").c_str());
  }
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListMenuTest, CutInOneListAndPasteInAnotherMovesThroughTheMenu) {
  TempFolder other;
  TOvFilelistView28* second = AddList(10, 250, 600, 180);
  second->SetDirectory(other.Path());
  SelectRows({L"Notes.txt"});
  list->PopUpMenu().Dispatch(static_cast<int>(GetMenuItemID(list->PopUpMenu().Handle(), 5)));  // Cut
  second->PopUpMenu().Dispatch(static_cast<int>(GetMenuItemID(second->PopUpMenu().Handle(), 7)));  // Paste
  EXPECT_TRUE(other.Exists(L"Notes.txt"));
  EXPECT_FALSE(folder.Exists(L"Notes.txt"));
}

TEST_F(FileListMenuTest, AFolderIsNeverPastedIntoItself) {
  list->SetShowFolders(true);
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub\\Deeper").c_str(), nullptr));
  folder.Create(L"Sub\\Inner.txt");
  list->UpdateFileList();
  struct Case {
    const wchar_t* into;
    TTransferMode mode;
  } cases[] = {
      {L"Sub", TTransferMode::tmCopy},
      {L"Sub\\Deeper", TTransferMode::tmCopy},
      {L"Sub", TTransferMode::tmMove},
  };
  for (const Case& c : cases) {
    list->SetDirectory(folder.Path());
    SelectRows({L"Sub"});
    list->MarkForTransfer(c.mode);
    messages.clear();
    list->SetDirectory(folder.File(c.into));
    list->PasteFiles();
    EXPECT_EQ(messages, std::vector<std::wstring>{L"\"Sub\" cannot be copied or moved into itself !"}) << bv::WideToUtf8(c.into);
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Notes.txt", L"Photo.jpg", L"Sub"}));
    WIN32_FIND_DATAW data;
    std::vector<std::wstring> inside;
    HANDLE find = FindFirstFileW(folder.File(L"Sub\\*").c_str(), &data);
    do {
      if (data.cFileName[0] != L'.') inside.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(inside.begin(), inside.end());
    EXPECT_EQ(inside, (std::vector<std::wstring>{L"Deeper", L"Inner.txt"}));
  }
  // A file of the folder still goes into its subfolder.
  list->SetDirectory(folder.File(L"Sub"));
  SelectRows({L"Inner.txt"});
  list->CopySelectedTo(folder.File(L"Sub\\Deeper"));
  EXPECT_EQ(GetFileAttributesW(folder.File(L"Sub\\Deeper\\Inner.txt").c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST_F(FileListMenuTest, DroppedFilesAreCopiedIntoTheListsFolder) {
  TempFolder source;
  source.Create(L"Dropped.8bf");
  source.Create(L"Also \u00e9.txt");
  // A drop as the shell delivers it: the file list block in the message.
  SendMessageW(ListWindow(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(FileListBlock({source.File(L"Dropped.8bf"), source.File(L"Also \u00e9.txt")})), 0);
  Pump();
  EXPECT_TRUE(folder.Exists(L"Dropped.8bf"));
  EXPECT_TRUE(folder.Exists(L"Also \u00e9.txt"));
  EXPECT_TRUE(source.Exists(L"Dropped.8bf"));  // copied, not moved
  EXPECT_GE(FindListItem(ListWindow(), L"Dropped.8bf"), 0);
  EXPECT_EQ(FileOperations::TransferMode(), TTransferMode::tmCopy);
  EXPECT_TRUE(list->TransferList().empty());
}

TEST_F(FileListMenuTest, DesktopShortcutNeverReplacesOne) {
  SelectRows({L"Notes.txt"});
  std::wstring first = list->CreateDesktopShortcut();
  std::wstring second = list->CreateDesktopShortcut();
  EXPECT_EQ(first, desktop.File(L"Notes.lnk"));
  EXPECT_EQ(second, desktop.File(L"Notes (2).lnk"));
  EXPECT_TRUE(bv::SameText(ShortcutTarget(first), folder.File(L"Notes.txt")));
  EXPECT_TRUE(bv::SameText(ShortcutTarget(second), folder.File(L"Notes.txt")));
  SelectRows({});
  EXPECT_EQ(list->CreateDesktopShortcut(), L"");
  EXPECT_EQ(messages, std::vector<std::wstring>{L"No file(s) selected"});
}

TEST_F(FileListMenuTest, SendToAFolderShortcutAndToAnyFolderCopies) {
  TempFolder target;
  TOvFilelistView28* targets = AddList(10, 250, 600, 180);
  targets->SetShowFolders(true);
  targets->SetDirectory(target.Path() + L"..\\");
  std::wstring targetName = filelist::NameOf(target.Path().substr(0, target.Path().size() - 1));
  std::wstring link = MakeShortcut(targets, targetName.c_str(), sendTo);
  ASSERT_FALSE(link.empty());
  TOvFilelistView28PopUp& menu = list->PopUpMenu();
  ASSERT_EQ(menu.SendToPaths(), std::vector<std::wstring>{link});
  SelectRows({L"Blur.8bf", L"Notes.txt"});
  menu.Dispatch(filelist::kFirstShortcutTag);
  EXPECT_EQ(target.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Notes.txt"}));
  EXPECT_TRUE(folder.Exists(L"Blur.8bf"));

  // "Any Folder ...": the folder the picker answers gets a copy.
  TempFolder picked;
  std::wstring asked;
  TOvFilelistView28::SetFolderPicker([&](TOvFilelistView28&, const std::wstring& caption, std::wstring& chosen) {
    asked = caption;
    chosen = picked.Path();
    // While the picker is open the list is read again and another row is picked: the files
    // sent are still the ones selected when it opened.
    list->UpdateFileList();
    SelectRows({L"Blur.8bf"});
    return true;
  });
  SelectRows({L"Photo.jpg"});
  menu.Dispatch(static_cast<int>(GetMenuItemID(menu.SendToMenu(), 0)));
  EXPECT_EQ(asked, L"Please specify a directory");
  EXPECT_EQ(picked.Names(), std::vector<std::wstring>{L"Photo.jpg"});
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListMenuTest, DeleteSendsTheFileToTheTrash) {
  // Under Wine the recycle bin is the desktop's trash folder in the user's home folder, which
  // Wine names in WINEHOMEDIR ("\??\Z:\home\user").
  wchar_t home[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH)) GTEST_SKIP() << "not under Wine: no trash folder to look in";
  std::wstring homeFolder = home;
  if (homeFolder.rfind(L"\\??\\", 0) == 0) homeFolder.erase(0, 4);
  std::wstring unique = L"Recycled-" + std::to_wstring(GetTickCount64()) + L".txt";
  folder.Create(unique, "to the trash");
  list->UpdateFileList();
  SelectRows({unique.c_str()});
  DialogAnswer yes(IDYES);
  list->PopUpMenu().Dispatch(static_cast<int>(GetMenuItemID(list->PopUpMenu().Handle(), 10)));  // Delete
  yes.Answered();
  EXPECT_FALSE(folder.Exists(unique));
  std::wstring trash = bv::IncludeTrailingBackslash(homeFolder) + L".local\\share\\Trash\\files\\" + unique;
  EXPECT_NE(GetFileAttributesW(trash.c_str()), INVALID_FILE_ATTRIBUTES) << bv::WideToUtf8(trash);
  DeleteFileW(trash.c_str());
  std::wstring info = trash;
  info.replace(info.find(L"\\files\\"), 7, L"\\info\\");
  DeleteFileW((info + L".trashinfo").c_str());
}

TEST_F(FileListMenuTest, RightClickOpensTheMenuAndAMnemonicRunsItsItem) {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  int row = FindListItem(ListWindow(), L"Notes.txt");
  ASSERT_GE(row, 0);
  Select(row);
  // The menu's loop runs inside the right click; the watch presses the key of "&Copy" in it.
  MenuWatch watch('C');
  POINT screen = ListItemCentre(ListWindow(), row);
  ClientToScreen(ListWindow(), &screen);
  SetCursorPos(screen.x, screen.y);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(watch.Shown()) << "no menu opened";
  EXPECT_EQ(list->TransferList(), std::vector<std::wstring>{folder.File(L"Notes.txt")});
}

TEST_F(FileListMenuTest, NoMenuWhenDisabledOrInTheDriveView) {
  auto opensMenu = [&] {
    MenuWatch watch(VK_ESCAPE, 600);
    SendMessageW(ListWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ListWindow()), MAKELPARAM(150, 150));
    return watch.Shown();
  };
  Select(0);
  EXPECT_TRUE(opensMenu());  // the watch sees a menu when there is one
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  Select(0);
  EXPECT_FALSE(opensMenu());
  list->SetDirectory(folder.Path());
  list->SetPopUpMenuEnabled(false);
  Select(0);
  EXPECT_FALSE(opensMenu());
  EXPECT_TRUE(list->TransferList().empty());
  // The keys keep working.
  PressKey('C', false, true);
  EXPECT_EQ(list->TransferList().size(), 1u);
}

namespace {

class MainWindowDropTest : public MainWindowFixture {};

}  // namespace

TEST_F(MainWindowDropTest, FilesDroppedOnTheWindowGoIntoTheFolderOfTheListCreatedLast) {
  folder.Create(L"Blur.8bf");
  folder.Create(L"Old.off");
  OpenMainWindow();
  TempFolder source;
  source.Create(L"New.8bf");
  source.Create(L"Other.off");
  SendMessageW(form->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(FileListBlock({source.File(L"New.8bf"), source.File(L"Other.off")})), 0);
  Pump(100);
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"New.8bf", L"Old.off", L"Other.off"}));
  EXPECT_EQ(source.Names(), (std::vector<std::wstring>{L"New.8bf", L"Other.off"}));
  // The list created last (the switched-off filters) was rebuilt and shows its new file.
  EXPECT_GE(FindListItem(form->ListOff->Handle(), L"Other"), 0);
  EXPECT_FALSE(form->ListOn->PopUpMenuEnabled());
}

TEST_F(FileListMenuTest, TheShellIsNeverHandedAnEmptyPathList) {
  CurrentDirectoryScope inFolder(folder.Path());
  struct Case {
    std::vector<std::wstring> from;
  } cases[] = {{{}}, {{L""}}, {{folder.File(L"Blur.8bf"), L""}}};
  for (const Case& c : cases) {
    // An empty path could stand for the current folder: the shell would ask to delete it.
    DialogAnswer no(IDNO, 800);
    EXPECT_FALSE(FileOperations::RunFileOperation(nullptr, FO_DELETE, c.from, {})) << c.from.size();
    EXPECT_FALSE(no.Answered()) << c.from.size();
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Notes.txt", L"Photo.jpg"}));
}
