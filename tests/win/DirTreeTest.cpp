// The directory tree on a form beside a linked file list, over a fixture folder tree: choosing
// nodes, lazy listing, the shell's change notifications, in-place rename with real keys, the
// folder operations, the context menu (its enabling, its pictures, items chosen with real input)
// and the folder-contents window.
#include <shlobj.h>

#include "filelist/OvDirTree21.h"
#include "filelist/OvDirTree21Contents.h"
#include "filelist/OvDirTree21PopUp.h"
#include "framework/Strings.h"
#include "tests/win/FileListFixture.h"

using namespace wintest;

namespace {

class DirTreeTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"alpha", L"alpha\\inner", L"alpha\\inner\\deep", L"beta", L"gamma"})
      CreateDirectoryW((base + name).c_str(), nullptr);
    folder.Create(L"alpha\\one.bin", std::string(1500, 'x'));
    folder.Create(L"alpha\\inner\\two.bin", std::string(100, 'y'));
    folder.Create(L"top.txt", "z");
    list->SetBounds(320, 10, 300, 420);
    tree = new TOvDirTree21(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(10, 10, 300, 420);
    tree->SetFileList(list);
    tree->OnDirChange = [this](TObject*, const std::wstring& path) { dirChanges.push_back(path); };
    Pump();
  }
  HWND TreeWindow() { return tree->Handle(); }
  HTREEITEM Node(const std::wstring& relative) {
    tree->SelectPath(base + relative);
    return tree->Folders().Selected();
  }
  // A real click on the node's caption. Press and release go in together: the tree view follows
  // a pressed button in a loop of its own until it is released, and this thread must not be in
  // that loop before it has sent the release.
  void ClickNode(HTREEITEM node) {
    TreeView_EnsureVisible(TreeWindow(), node);
    RECT rect{};
    ASSERT_TRUE(TreeView_GetItemRect(TreeWindow(), node, &rect, TRUE));
    POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(TreeWindow(), &p);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Pump(30);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(100);
  }
  HWND Editor() { return TreeView_GetEditControl(TreeWindow()); }
  void TypeAndPress(const std::wstring& text, WORD key) {
    ASSERT_TRUE(Editor()) << "no edit started";
    SetWindowTextW(Editor(), text.c_str());
    PressKey(key);
  }
  // Wine sends no change notification for a plain CreateDirectory or RemoveDirectory: the test
  // announces its changes as a program does, through SHChangeNotify.
  void Announce(long event, const std::wstring& path) {
    SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
    Pump(50);
  }
  bool SamePath(const std::wstring& a, const std::wstring& b) {
    return bv::SameText(bv::ExcludeTrailingBackslash(a), bv::ExcludeTrailingBackslash(b));
  }
  // A real right click on the node's caption opens the context menu, and the item's access key
  // is pressed in it. The input comes from a thread of its own: the menu's loop and the item's
  // work (a box of the shell's, perhaps) run on this one.
  void ChooseMenuItem(HTREEITEM node, WORD key) {
    TreeView_EnsureVisible(TreeWindow(), node);
    RECT rect{};
    ASSERT_TRUE(TreeView_GetItemRect(TreeWindow(), node, &rect, TRUE));
    POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(TreeWindow(), &p);
    bool shown = false;
    WhilePumping([&] {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
      Sleep(30);
      SendMouse(MOUSEEVENTF_RIGHTDOWN);
      SendMouse(MOUSEEVENTF_RIGHTUP);
      for (int waited = 0; waited < 5000 && !shown; waited += 50) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        shown = menu && IsWindowVisible(menu);
        if (!shown) Sleep(50);
      }
      if (shown) PressKey(key);
      Sleep(200);  // the menu closes before anything could press Escape in a box the item opens
    });
    EXPECT_TRUE(shown) << "no menu opened";
  }

  std::wstring base = folder.Path();  // with its trailing backslash
  TOvDirTree21* tree = nullptr;       // owned by the form
  std::vector<std::wstring> dirChanges;
};

}  // namespace

TEST_F(DirTreeTest, StartsWithTheRootOpenOnTheDrives) {
  ShellFolderTree& folders = tree->Folders();
  HTREEITEM root = folders.Root();
  ASSERT_TRUE(root);
  EXPECT_TRUE(folders.Expanded(root));
  EXPECT_FALSE(folders.Children(root).empty());
  EXPECT_EQ(tree->SelectedPath(), L"");
  EXPECT_EQ(tree->About(), L"Version 2.1.8.6");
  EXPECT_TRUE(tree->PopUpMenuEnabled());
  EXPECT_TRUE(tree->DragDropEnabled());
}

TEST_F(DirTreeTest, SelectPathOpensTheNodesDownToTheFolderAndSelectsIt) {
  tree->SelectPath(base + L"ALPHA\\inner\\Deep");
  ShellFolderTree& folders = tree->Folders();
  HTREEITEM selected = folders.Selected();
  ASSERT_TRUE(selected);
  EXPECT_EQ(folders.Caption(selected), L"deep");
  EXPECT_TRUE(SamePath(folders.NodePath(selected), base + L"alpha\\inner\\deep"));
  EXPECT_TRUE(folders.Expanded(folders.Parent(selected)));
  EXPECT_EQ(tree->SelectedPath(), base + L"ALPHA\\inner\\Deep\\");
  EXPECT_EQ(dirChanges, std::vector<std::wstring>{tree->SelectedPath()});
  // Ignored: not a folder.
  tree->SelectPath(base + L"top.txt");
  EXPECT_EQ(folders.Selected(), selected);
  EXPECT_EQ(dirChanges.size(), 1u);
}

TEST_F(DirTreeTest, ClickingAFolderShowsItInTheLinkedListAndTheRootShowsTheDrives) {
  HTREEITEM alpha = Node(L"alpha");
  ASSERT_TRUE(alpha);
  tree->SelectPath(base);  // another node selected, alpha still shown
  ClickNode(alpha);
  EXPECT_TRUE(SamePath(tree->SelectedPath(), base + L"alpha"));
  EXPECT_TRUE(SamePath(list->Directory(), base + L"alpha"));
  ClickNode(tree->Folders().Root());
  EXPECT_EQ(tree->SelectedPath(), L"My Computer");
  EXPECT_EQ(list->Directory(), TOvFilelistView28::kMyComputer);
  EXPECT_FALSE(list->FileColumnsShown());
  EXPECT_EQ(dirChanges.back(), L"My Computer");
}

TEST_F(DirTreeTest, ANodeListsItsSubfoldersOnlyWhenOpened) {
  HTREEITEM alpha = Node(L"alpha");
  ShellFolderTree& folders = tree->Folders();
  HTREEITEM inner = folders.FindChild(alpha, L"inner");
  ASSERT_TRUE(inner);
  EXPECT_TRUE(folders.Children(inner).empty());
  EXPECT_TRUE(folders.HasChildrenMark(inner));
  CreateDirectoryW((base + L"alpha\\inner\\later").c_str(), nullptr);
  ClickNode(inner);
  tree->SetFocus();
  PressKey(VK_RIGHT);  // opens the selected node
  EXPECT_TRUE(folders.Expanded(inner));
  EXPECT_EQ(folders.ChildCaptions(inner), (std::vector<std::wstring>{L"deep", L"later"}));
  // Files are never nodes; only folders, sorted.
  EXPECT_EQ(folders.ChildCaptions(folders.Parent(alpha)), (std::vector<std::wstring>{L"alpha", L"beta", L"gamma"}));
}

TEST_F(DirTreeTest, FoldersMadeAndRemovedOnDiskComeAndGoThroughTheNotifications) {
  tree->SelectPath(base + L"beta");
  ShellFolderTree& folders = tree->Folders();
  std::wstring made = base + L"delta";
  ASSERT_TRUE(CreateDirectoryW(made.c_str(), nullptr));
  Announce(SHCNE_MKDIR, made);
  EXPECT_GE(tree->ShellChangesHandled(), 1);
  HTREEITEM parent = folders.Parent(folders.Selected());
  EXPECT_EQ(folders.ChildCaptions(parent), (std::vector<std::wstring>{L"alpha", L"beta", L"delta", L"gamma"}));
  EXPECT_TRUE(SamePath(tree->SelectedPath(), base + L"beta"));

  // The selected folder itself goes away: the tree and the list fall back to its parent.
  tree->SelectPath(made);
  ASSERT_TRUE(RemoveDirectoryW(made.c_str()));
  Announce(SHCNE_RMDIR, made);
  HTREEITEM selected = folders.Selected();
  ASSERT_TRUE(selected);
  EXPECT_TRUE(SamePath(folders.NodePath(selected), base));
  EXPECT_EQ(folders.ChildCaptions(selected), (std::vector<std::wstring>{L"alpha", L"beta", L"gamma"}));
  EXPECT_TRUE(SamePath(list->Directory(), base));
}

TEST_F(DirTreeTest, InPlaceRenameRefusesInvalidNames) {
  struct Case {
    const wchar_t* typed;
    std::vector<std::wstring> messages;
  } cases[] = {
      {L"a:b", {L"Error - Invalid Directory Name\ra:b"}},
      {L"x*y", {L"Error - Invalid Directory Name\rx*y"}},
      {L"semi;colon", {L"Error - Invalid Directory Name\rsemi;colon"}},
      {L"CON", {L"Error - Invalid Directory Name\rCON"}},
      {L"", {}},  // only a beep
  };
  for (const Case& c : cases) {
    messages.clear();
    Node(L"beta");
    tree->SetFocus();
    PressKey(VK_F2);
    TypeAndPress(c.typed, VK_RETURN);
    EXPECT_EQ(messages, c.messages) << c.typed;
    EXPECT_TRUE(folder.Exists(L"beta")) << c.typed;
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"alpha", L"beta", L"gamma", L"top.txt"}));
}

TEST_F(DirTreeTest, InPlaceRenameAsksAndRenames) {
  Node(L"beta");
  tree->SetFocus();
  PressKey(VK_F2);
  TypeAndPress(L"kept", VK_RETURN);  // answered No
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], L"Do you want to rename the selected folder\r\r    From  : beta\r    To     : kept");
  EXPECT_TRUE(folder.Exists(L"beta"));
  answers = {IDYES};
  Node(L"beta");
  tree->SetFocus();
  PressKey(VK_F2);
  TypeAndPress(L"Betty", VK_RETURN);
  EXPECT_TRUE(folder.Exists(L"Betty"));
  EXPECT_FALSE(folder.Exists(L"beta"));
  EXPECT_EQ(tree->Folders().Caption(tree->Folders().Selected()), L"Betty");
  EXPECT_TRUE(SamePath(list->Directory(), base + L"Betty"));
}

TEST_F(DirTreeTest, RootAndDrivesCannotBeRenamed) {
  ShellFolderTree& folders = tree->Folders();
  TreeView_SelectItem(TreeWindow(), folders.Root());
  tree->SetFocus();
  PressKey(VK_F2);
  EXPECT_FALSE(Editor());
  tree->SetReadOnly(true);
  Node(L"beta");
  PressKey(VK_F2);
  EXPECT_FALSE(Editor());
}

TEST_F(DirTreeTest, NewFolderIsNamedInPlaceWithoutAQuestion) {
  Node(L"gamma");
  tree->SetFocus();
  PressKey('N', false, true);
  EXPECT_TRUE(folder.Exists(L"gamma\\New Folder"));
  TypeAndPress(L"Named", VK_RETURN);
  EXPECT_EQ(messages, std::vector<std::wstring>{});
  EXPECT_TRUE(folder.Exists(L"gamma\\Named"));
  EXPECT_FALSE(folder.Exists(L"gamma\\New Folder"));

  // Where "New Folder" exists already nothing happens.
  CreateDirectoryW((base + L"beta\\New Folder").c_str(), nullptr);
  Node(L"beta");
  tree->NewFolder();
  EXPECT_FALSE(Editor());
  EXPECT_EQ(messages, std::vector<std::wstring>{});

  tree->NewFolder(nullptr, L"bad|name");
  EXPECT_EQ(messages, std::vector<std::wstring>{L"Folder Name contains invalid characters"});
  messages.clear();
  tree->NewFolder(tree->Folders().Root());
  EXPECT_EQ(messages, std::vector<std::wstring>{L"ERROR - Can't add drives"});
}

TEST_F(DirTreeTest, AFolderIsNeverPastedIntoItselfOrItsSubfolder) {
  Node(L"alpha");
  tree->MarkFolder(TTransferMode::tmMove);
  EXPECT_TRUE(tree->PendingFolderPaste());
  EXPECT_TRUE(SamePath(tree->DragSourcePath(), base + L"alpha"));
  for (const wchar_t* into : {L"alpha", L"alpha\\inner"}) {
    messages.clear();
    Node(into);
    tree->MarkFolder(TTransferMode::tmMove);
    Node(L"alpha");
    tree->MarkFolder(TTransferMode::tmMove);
    Node(into);
    tree->PasteFolder();
    EXPECT_EQ(messages.size(), 1u) << into;
    EXPECT_FALSE(tree->PendingFolderPaste());
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"alpha", L"beta", L"gamma", L"top.txt"}));
  EXPECT_TRUE(folder.Exists(L"alpha\\inner\\deep"));
  EXPECT_FALSE(folder.Exists(L"alpha\\inner\\alpha"));
}

TEST_F(DirTreeTest, CopyAndPasteAFolder) {
  Node(L"alpha");
  tree->SetFocus();
  PressKey('C', false, true);
  Node(L"beta");
  tree->SetFocus();
  PressKey('V', false, true);
  EXPECT_EQ(messages, std::vector<std::wstring>{});
  EXPECT_TRUE(folder.Exists(L"beta\\alpha\\inner\\two.bin"));
  EXPECT_TRUE(folder.Exists(L"alpha\\one.bin"));
  EXPECT_FALSE(tree->PendingFolderPaste());
  EXPECT_TRUE(SamePath(tree->SelectedPath(), base + L"beta"));
}

TEST_F(DirTreeTest, DeleteFolderFromTheMenuRemovesItsNodeAndShowsTheParent) {
  // A real right click and the item's access key; the shell asks, and under Wine it asks again
  // whether to delete what cannot go to the trash: every question is answered yes.
  CreateDirectoryW((base + L"gamma\sub").c_str(), nullptr);
  folder.Create(L"gamma\sub\note.txt", "n");
  HTREEITEM gamma = Node(L"gamma");
  ASSERT_TRUE(gamma);
  HTREEITEM parent = tree->Folders().Parent(gamma);
  DialogAnswer yes(IDYES, 4000, 2);
  ChooseMenuItem(gamma, 'D');  // "&Delete Folder"
  EXPECT_GE(yes.AnsweredCount(), 1);
  Pump(100);
  EXPECT_EQ(messages, std::vector<std::wstring>{});
  EXPECT_EQ(GetFileAttributesW((base + L"gamma").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(tree->Folders().FindChild(parent, L"gamma"), nullptr);
  EXPECT_EQ(tree->Folders().Selected(), parent);
  EXPECT_TRUE(SamePath(tree->SelectedPath(), base));
  EXPECT_TRUE(SamePath(list->Directory(), base));
  EXPECT_EQ(FindListItem(list->Handle(), L"gamma"), -1);
  // What went to the trash is taken out of it again.
  wchar_t home[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH)) {
    std::wstring trash = home;
    if (trash.rfind(L"\\??\\", 0) == 0) trash.erase(0, 4);
    trash = bv::IncludeTrailingBackslash(trash) + L".local\\share\\Trash\\";
    SHFILEOPSTRUCTW op{};
    std::wstring from = trash + L"files\\gamma" + std::wstring(1, L'\0');
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);
    DeleteFileW((trash + L"info\\gamma.trashinfo").c_str());
  }
}

TEST_F(DirTreeTest, TreeSizeOfAFolder) {
  Node(L"alpha");
  tree->ShowTreeSize();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], L"===== TREE SIZE =====\r\rFolder \"alpha\"\rand all its Sub-Folders \r =  1,600 Bytes\r"
                         L"     (i.e. 1.56 KB )");
  messages.clear();
  Node(L"gamma");
  tree->ShowTreeSize();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(L" =  0 Bytes\r     (i.e. 0.00 KB )"), std::wstring::npos) << messages[0];
}

TEST_F(DirTreeTest, MenuItemsFollowTheSelectionAndTheLanguage) {
  TOvDirTree21PopUp& menu = tree->PopUpMenu();
  auto enabled = [&](int tag) { return !(GetMenuState(menu.Handle(), static_cast<UINT>(tag), MF_BYCOMMAND) & MF_GRAYED); };
  TreeView_SelectItem(TreeWindow(), tree->Folders().Root());
  menu.UpdateEnabling();
  EXPECT_FALSE(enabled(1));
  EXPECT_TRUE(enabled(9));
  EXPECT_TRUE(enabled(10));
  EXPECT_FALSE(enabled(11));
  Node(L"alpha");
  menu.UpdateEnabling();
  for (int tag : {1, 2, 3, 4, 5, 7, 11}) EXPECT_TRUE(enabled(tag)) << tag;
  EXPECT_FALSE(enabled(6));
  tree->MarkFolder(TTransferMode::tmCopy);
  menu.UpdateEnabling();
  EXPECT_TRUE(enabled(6));
  Node(L"beta");
  tree->PasteFolder();
  menu.UpdateEnabling();
  EXPECT_FALSE(enabled(6));  // until a folder is marked again

  wchar_t caption[64] = {};
  GetMenuStringW(menu.Handle(), 1, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"&New Folder");
  tree->SetPopUpMenuEnabled(false);
  tree->SetLanguage(TLanguage::lnGerman);
  EXPECT_TRUE(tree->PopUpMenuEnabled());
  GetMenuStringW(menu.Handle(), 1, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"&Neuer Ordner");
  tree->SetPopUpMenuEnabled(false);
  tree->SetLanguage(TLanguage::lnGerman);  // the same language again changes nothing
  EXPECT_FALSE(tree->PopUpMenuEnabled());
}

TEST_F(DirTreeTest, DraggingAFolderOntoAnotherMovesIt) {
  HTREEITEM gamma = Node(L"gamma");
  HTREEITEM beta = tree->Folders().FindChild(tree->Folders().Parent(gamma), L"beta");
  ASSERT_TRUE(beta);
  RECT from{}, to{};
  TreeView_GetItemRect(TreeWindow(), gamma, &from, TRUE);
  TreeView_GetItemRect(TreeWindow(), beta, &to, TRUE);
  POINT start{(from.left + from.right) / 2, (from.top + from.bottom) / 2};
  POINT end{(to.left + to.right) / 2, (to.top + to.bottom) / 2};
  ClientToScreen(TreeWindow(), &start);
  ClientToScreen(TreeWindow(), &end);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, start.x, start.y);
  Pump(30);
  // Press and the first moves go in together: the tree view follows the pressed button in a loop
  // of its own until the mouse has moved far enough to start a drag.
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 6; ++step)
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, start.x + (end.x - start.x) * step / 6,
              start.y + (end.y - start.y) * step / 6);
  Pump(100);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(100);
  EXPECT_TRUE(folder.Exists(L"beta\\gamma"));
  EXPECT_FALSE(folder.Exists(L"gamma"));
}

TEST_F(DirTreeTest, MenuItemsCarryTheirPictures) {
  TOvDirTree21PopUp& menu = tree->PopUpMenu();
  HMENU handle = menu.Handle();
  std::vector<UINT> withPicture, withoutPicture;
  for (int i = 0; i < GetMenuItemCount(handle); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_BITMAP | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(handle, static_cast<UINT>(i), TRUE, &info));
    if (info.fType & MFT_SEPARATOR) continue;
    HBITMAP picture = info.hbmpItem == HBMMENU_CALLBACK ? menu.Pictures().PictureOf(info.dwItemData) : nullptr;
    BITMAP size{};
    if (picture && GetObjectW(picture, sizeof(size), &size) && size.bmWidth == 16 && size.bmHeight == 16)
      withPicture.push_back(info.wID);
    else
      withoutPicture.push_back(info.wID);
  }
  EXPECT_EQ(withPicture, (std::vector<UINT>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(withoutPicture, std::vector<UINT>{});

  // The tree, owner of the open menu, measures and draws them.
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  GetMenuItemInfoW(handle, 8, FALSE, &info);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = info.dwItemData;
  SendMessageW(TreeWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(measure.itemWidth, 16u);
  EXPECT_EQ(measure.itemHeight, 16u);
}

TEST_F(DirTreeTest, FolderContentsListsThePlainFilesAndOkChoosesOne) {
  folder.Create(L"alpha\\b.txt", "b");
  folder.Create(L"alpha\\A.dat", "a");
  std::vector<std::wstring> fileChanges;
  tree->OnFileChange = [&](TObject*, const std::wstring& file) { fileChanges.push_back(file); };
  tree->SetColor(MakeColor(0xF0, 0xE8, 0xC0));
  ShellFolderTree& folders = tree->Folders();
  HTREEITEM alpha = Node(L"alpha");
  ChooseMenuItem(alpha, 'F');  // "&Folder Contents"
  TOvDirTree21Contents* contents = tree->FolderContents();
  ASSERT_TRUE(contents);
  HWND window = contents->Handle();
  wchar_t caption[128] = {};
  GetWindowTextW(window, caption, 128);
  EXPECT_STREQ(caption, L"Files in \" ..\\alpha \"");
  EXPECT_EQ(contents->FileNames(), (std::vector<std::wstring>{L"A.dat", L"b.txt", L"one.bin"}));
  EXPECT_EQ(contents->ListHint(), L"LeftClick - Select\rDblClick  - Open");
  EXPECT_EQ(ListView_GetBkColor(contents->ListWindow()), RGB(0xF0, 0xE8, 0xC0));
  EXPECT_FALSE(folders.Expanded(folders.Root()));

  // Docked: a child filling the tree, a tool-window caption without border icons, the OK button
  // 60 x 22 at the lower right.
  EXPECT_EQ(GetParent(window), TreeWindow());
  RECT docked{}, client{};
  GetWindowRect(window, &docked);
  GetClientRect(TreeWindow(), &client);
  MapWindowPoints(TreeWindow(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_TRUE(EqualRect(&docked, &client));
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE), exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  RECT ok{}, inside{};
  GetWindowRect(contents->OkButtonWindow(), &ok);
  GetClientRect(window, &inside);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inside), 2);
  EXPECT_EQ(ok.right - ok.left, 60);
  EXPECT_EQ(ok.bottom - ok.top, 22);
  EXPECT_EQ(ok.right, inside.right);
  EXPECT_EQ(ok.bottom, inside.bottom);
  RECT listRect{};
  GetWindowRect(contents->ListWindow(), &listRect);
  EXPECT_EQ(listRect.bottom, inside.bottom - 22);

  // A real click on a file and on OK.
  HWND files = contents->ListWindow();
  int row = FindListItem(files, L"b.txt");
  ASSERT_GE(row, 0);
  POINT centre = ListItemCentre(files, row);
  ClickAt(files, centre.x, centre.y);
  ClickAt(contents->OkButtonWindow(), 30, 11);
  Pump(50);
  EXPECT_EQ(fileChanges, std::vector<std::wstring>{base + L"alpha\\b.txt"});
  EXPECT_EQ(tree->SelectedFile(), base + L"alpha\\b.txt");
  EXPECT_EQ(tree->FolderContents(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  ASSERT_TRUE(folders.Selected());
  EXPECT_TRUE(SamePath(folders.NodePath(folders.Selected()), base + L"alpha"));
  EXPECT_TRUE(folders.Expanded(folders.Root()));

  // OK with no file chosen gives an empty file.
  ChooseMenuItem(folders.Selected(), 'F');
  ASSERT_TRUE(tree->FolderContents());
  window = tree->FolderContents()->Handle();
  ClickAt(tree->FolderContents()->OkButtonWindow(), 30, 11);
  Pump(50);
  EXPECT_EQ(fileChanges, (std::vector<std::wstring>{base + L"alpha\\b.txt", L""}));
  EXPECT_EQ(tree->SelectedFile(), L"");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(SamePath(tree->SelectedPath(), base + L"alpha"));
}

TEST_F(DirTreeTest, FolderContentsOfADriveAndNotOfTheRoot) {
  std::wstring drive = base.substr(0, 3);
  tree->SelectPath(drive);
  tree->ShowFolderContents();
  ASSERT_TRUE(tree->FolderContents());
  wchar_t caption[128] = {};
  GetWindowTextW(tree->FolderContents()->Handle(), caption, 128);
  EXPECT_EQ(std::wstring(caption), L"Files in \" " + drive + L" \"");
  tree->FolderContents()->OnOk(L"");
  Pump(50);
  EXPECT_FALSE(tree->FolderContents());
  EXPECT_TRUE(SamePath(tree->SelectedPath(), drive));

  TreeView_SelectItem(TreeWindow(), tree->Folders().Root());
  tree->ShowFolderContents();
  EXPECT_FALSE(tree->FolderContents());
}

namespace {

// The shell's "open" as the code under test asks for it while a ShellOpenWatch lives.
struct ShellOpenCall {
  std::wstring verb, file;
  bool contentsVisible = false;
};
std::vector<ShellOpenCall>* shellOpenCalls = nullptr;
HWND watchedContents = nullptr;

HINSTANCE WINAPI WatchedShellExecute(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  shellOpenCalls->push_back({verb ? verb : L"", file ? file : L"", IsWindowVisible(watchedContents) != FALSE});
  return reinterpret_cast<HINSTANCE>(42);  // success, nothing started
}

struct ShellOpenWatch {
  std::vector<ShellOpenCall> calls;
  ImportHook hook{L"shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&WatchedShellExecute)};
  ShellOpenWatch() { shellOpenCalls = &calls; }
  ~ShellOpenWatch() { shellOpenCalls = nullptr; }
};

}  // namespace

TEST_F(DirTreeTest, DoubleClickInFolderContentsOpensTheFileWhileTheWindowIsHidden) {
  ShellOpenWatch watch;
  ASSERT_TRUE(watch.hook.Active());
  Node(L"alpha");
  tree->ShowFolderContents();
  TOvDirTree21Contents* contents = tree->FolderContents();
  ASSERT_TRUE(contents);
  watchedContents = contents->Handle();
  HWND files = contents->ListWindow();
  POINT centre = ListItemCentre(files, FindListItem(files, L"one.bin"));
  ClickAt(files, centre.x, centre.y, true);
  ASSERT_EQ(watch.calls.size(), 1u);
  EXPECT_EQ(watch.calls[0].verb, L"Open");
  EXPECT_EQ(watch.calls[0].file, base + L"alpha\\one.bin");
  EXPECT_FALSE(watch.calls[0].contentsVisible);
  EXPECT_TRUE(IsWindowVisible(watchedContents));
  EXPECT_EQ(tree->FolderContents(), contents);  // still open, nothing chosen yet
  EXPECT_EQ(tree->SelectedFile(), L"");
  watchedContents = nullptr;
}
