// The drop-down directory tree: opening and closing it, choosing folders with the mouse, keys
// and wheel, and the linked file list following the choice.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "filelist/OvDirTreeCombo28.h"
#include "tests/win/FileListFixture.h"

namespace {

using wintest::Pump;

std::wstring BoxText(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

// A wheel turn through SendInput, with the cursor over `window`; negative turns towards the user.
void TurnWheel(HWND window, int delta) {
  RECT r{};
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(delta);
  SendInput(1, &input, sizeof(input));
  Pump(80);
}

class DirTreeComboTest : public wintest::FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    list->SetBounds(10, 40, 600, 380);
    CreateDirectoryW(folder.File(L"alpha").c_str(), nullptr);
    CreateDirectoryW(folder.File(L"alpha\\inner").c_str(), nullptr);
    CreateDirectoryW(folder.File(L"beta").c_str(), nullptr);
    combo = new TOvDirTreeCombo28(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 300, 21);
    combo->OnPathChange = [this](TObject*, const std::wstring& path) { pathChanges.push_back(path); };
    Pump();
  }
  HWND Tree() { return combo->Tree()->Handle(); }
  bool TreeOpen() { return IsWindowVisible(Tree()) != FALSE; }
  HTREEITEM Selected() { return combo->Tree()->Nodes().Selected(); }
  // The centre of a node's label in the tree's client area.
  POINT LabelCentre(HTREEITEM node) {
    SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    RECT r{};
    TreeView_GetItemRect(Tree(), node, &r, TRUE);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // The temporary folder's node, opened and selected through the combo.
  HTREEITEM OpenFixtureFolder() {
    combo->SelectPath(folder.Path());
    HTREEITEM node = Selected();
    if (node) SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    return node;
  }

  TOvDirTreeCombo28* combo = nullptr;  // owned by the form
  std::vector<std::wstring> pathChanges;
};

TEST_F(DirTreeComboTest, StartsClosedOnMyComputer) {
  EXPECT_EQ(combo->Width(), 300);
  EXPECT_EQ(combo->TreeHeight(), 240);
  EXPECT_EQ(combo->About(), L"Version 2.8.8.6");
  EXPECT_EQ(combo->SelectedPath(), L"My Computer");
  EXPECT_FALSE(TreeOpen());
  EXPECT_FALSE(IsWindowEnabled(Tree()));
  HTREEITEM root = combo->Tree()->Nodes().Root();
  ASSERT_TRUE(root);
  EXPECT_EQ(BoxText(combo->Handle()), combo->Tree()->Nodes().Caption(root));
  EXPECT_GE(combo->IconIndex(), 0);
  // The root is kept open with one node per drive.
  EXPECT_TRUE(combo->Tree()->Nodes().Expanded(root));
  EXPECT_FALSE(combo->Tree()->Nodes().Children(root).empty());
  // The drop-down is a top-level, always-on-top tool window.
  EXPECT_TRUE(GetWindowLongW(Tree(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongW(Tree(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(Tree(), GWL_STYLE) & WS_CHILD);
  // The button sits at the right edge of the box.
  RECT box{}, button{};
  GetClientRect(combo->Handle(), &box);
  GetWindowRect(combo->Btn()->Handle(), &button);
  MapWindowPoints(nullptr, combo->Handle(), reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.right, box.right);
  EXPECT_EQ(button.right - button.left, TOvDirTreeCombo28::kButtonWidth);
}

TEST_F(DirTreeComboTest, MouseChoosesAFolderAndTheListFollows) {
  combo->SetFileList(list);
  HTREEITEM fixture = OpenFixtureFolder();
  ASSERT_TRUE(fixture);
  EXPECT_EQ(combo->Tree()->Nodes().ChildCaptions(fixture), (std::vector<std::wstring>{L"alpha", L"beta"}));
  pathChanges.clear();

  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  ASSERT_TRUE(TreeOpen());
  // Below the box, as wide as the box.
  RECT box{}, tree{};
  GetWindowRect(combo->Handle(), &box);
  GetWindowRect(Tree(), &tree);
  EXPECT_EQ(tree.top, box.bottom);
  EXPECT_EQ(tree.left, box.left);
  EXPECT_EQ(tree.right - tree.left, box.right - box.left);
  EXPECT_EQ(tree.bottom - tree.top, 240);

  HTREEITEM alpha = combo->Tree()->Nodes().FindChild(fixture, L"alpha");
  ASSERT_TRUE(alpha);
  POINT target = LabelCentre(alpha);
  wintest::ClickAt(Tree(), target.x, target.y);

  EXPECT_FALSE(TreeOpen());
  const std::wstring chosen = folder.File(L"alpha");
  EXPECT_EQ(combo->SelectedPath(), chosen);
  EXPECT_EQ(BoxText(combo->Handle()), L"alpha");
  EXPECT_EQ(pathChanges, std::vector<std::wstring>{chosen});
  EXPECT_EQ(list->Directory(), chosen + L"\\");
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{}));  // the list shows files only; alpha holds a folder
}

TEST_F(DirTreeComboTest, DownOpensAndEscapeClosesWithoutAChoice) {
  combo->SetFileList(list);
  ASSERT_TRUE(OpenFixtureFolder());
  const std::wstring before = combo->SelectedPath();
  const std::wstring listBefore = list->Directory();
  HTREEITEM selectedBefore = Selected();
  pathChanges.clear();

  combo->SetFocus();
  Pump(20);
  wintest::PressKey(VK_DOWN);
  ASSERT_TRUE(TreeOpen());
  EXPECT_EQ(GetFocus(), combo->Handle());
  EXPECT_EQ(Selected(), selectedBefore) << "the first Down only opens";
  wintest::PressKey(VK_DOWN);
  EXPECT_NE(Selected(), selectedBefore);
  wintest::PressKey(VK_ESCAPE);

  EXPECT_FALSE(TreeOpen());
  EXPECT_EQ(combo->SelectedPath(), before);
  EXPECT_EQ(list->Directory(), listBefore);
  EXPECT_TRUE(pathChanges.empty());
}

TEST_F(DirTreeComboTest, EnterTakesTheSelectedNode) {
  combo->SetFileList(list);
  HTREEITEM fixture = OpenFixtureFolder();
  ASSERT_TRUE(fixture);
  combo->SetFocus();
  wintest::PressKey(VK_F4);
  ASSERT_TRUE(TreeOpen());
  wintest::PressKey(VK_DOWN);  // into the open folder: "alpha"
  wintest::PressKey(VK_RETURN);
  EXPECT_FALSE(TreeOpen());
  EXPECT_EQ(combo->SelectedPath(), folder.File(L"alpha"));
  EXPECT_EQ(list->Directory(), folder.File(L"alpha\\"));
}

TEST_F(DirTreeComboTest, WheelTowardsTheUserMovesTheSelectionDown) {
  HTREEITEM fixture = OpenFixtureFolder();
  ASSERT_TRUE(fixture);
  combo->SetFocus();
  wintest::PressKey(VK_F4);
  ASSERT_TRUE(TreeOpen());
  HTREEITEM alpha = combo->Tree()->Nodes().FindChild(fixture, L"alpha");

  TurnWheel(combo->Handle(), -WHEEL_DELTA);
  EXPECT_EQ(Selected(), alpha);
  TurnWheel(combo->Handle(), WHEEL_DELTA);
  EXPECT_EQ(Selected(), fixture);
  wintest::PressKey(VK_ESCAPE);
  EXPECT_FALSE(TreeOpen());
}

TEST_F(DirTreeComboTest, CommittingTheRootShowsTheDriveView) {
  combo->SetFileList(list);
  ASSERT_TRUE(OpenFixtureFolder());
  list->SetDirectory(folder.Path());
  ASSERT_EQ(list->Directory(), folder.Path());
  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  ASSERT_TRUE(TreeOpen());
  POINT target = LabelCentre(combo->Tree()->Nodes().Root());
  wintest::ClickAt(Tree(), target.x, target.y);

  EXPECT_FALSE(TreeOpen());
  EXPECT_EQ(combo->SelectedPath(), L"My Computer");
  EXPECT_EQ(list->Directory(), L"My Computer");
  EXPECT_EQ(BoxText(combo->Handle()), combo->Tree()->Nodes().Caption(combo->Tree()->Nodes().Root()));
  EXPECT_GT(list->EntryCount(), 0);  // the drives
}

TEST_F(DirTreeComboTest, AClickOutsideClosesWithoutAChoice) {
  combo->SetFileList(list);
  ASSERT_TRUE(OpenFixtureFolder());
  const std::wstring before = combo->SelectedPath();
  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  ASSERT_TRUE(TreeOpen());
  wintest::ClickAt(list->Handle(), 500, 300);
  EXPECT_FALSE(TreeOpen());
  EXPECT_EQ(combo->SelectedPath(), before);
  // The button opens it again afterwards.
  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  EXPECT_TRUE(TreeOpen());
  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  EXPECT_FALSE(TreeOpen());
}

// A change on disk announced as programs announce theirs (Wine's file functions announce
// nothing), then handled: the tree is filled again and stays on the chosen folder.
void AnnounceChange(LONG event, const std::wstring& path) {
  SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
  Pump(200);
}

TEST_F(DirTreeComboTest, FoldersMadeAndRemovedOnDiskFollowThroughNotifications) {
  combo->SetFileList(list);
  ASSERT_TRUE(OpenFixtureFolder());
  const std::wstring chosen = combo->SelectedPath();
  auto fixtureChildren = [this]() {
    HTREEITEM node = Selected();
    if (node) SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    return node ? combo->Tree()->Nodes().ChildCaptions(node) : std::vector<std::wstring>{};
  };
  ASSERT_EQ(fixtureChildren(), (std::vector<std::wstring>{L"alpha", L"beta"}));

  const std::wstring gamma = folder.File(L"gamma");
  ASSERT_TRUE(CreateDirectoryW(gamma.c_str(), nullptr));
  AnnounceChange(SHCNE_MKDIR, gamma);
  EXPECT_EQ(fixtureChildren(), (std::vector<std::wstring>{L"alpha", L"beta", L"gamma"}));
  EXPECT_EQ(combo->SelectedPath(), chosen);
  EXPECT_EQ(combo->Tree()->Nodes().NodePath(Selected()) + L"\\", folder.Path());

  ASSERT_TRUE(RemoveDirectoryW(gamma.c_str()));
  AnnounceChange(SHCNE_RMDIR, gamma);
  EXPECT_EQ(fixtureChildren(), (std::vector<std::wstring>{L"alpha", L"beta"}));
  EXPECT_EQ(combo->SelectedPath(), chosen);
}

}  // namespace

TEST_F(DirTreeComboTest, HintShowsTheSelectedPathOverTheClosedBoxOnly) {
  // Making the box's window sets the application's hint settings.
  Application->SetHintPause(7);
  Application->SetHintShortPause(7);
  Application->SetHintHidePause(7);
  Application->SetHintColor(clWhite);
  auto* other = new TOvDirTreeCombo28(form.get());
  other->SetParent(form.get());
  other->SetBounds(320, 10, 200, 21);
  other->HandleNeeded();
  EXPECT_EQ(Application->HintColor(), clInfoBk);
  EXPECT_EQ(Application->HintShortPause(), 25);
  EXPECT_EQ(Application->HintPause(), 500);
  EXPECT_EQ(Application->HintHidePause(), 10000);
  delete other;

  auto moveTo = [](HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Pump(20);
  };
  auto hintShown = [](int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
      HWND hint = Application->HintWindow().Handle();
      if (hint && IsWindowVisible(hint)) return true;
      Pump(20);
    }
    return false;
  };
  const std::wstring fixturePath = folder.Path();
  struct Case {
    const char* name;
    bool select;  // a node selected in the tree
  } cases[] = {{"nothing selected", false}, {"a folder selected", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.select) combo->SelectPath(fixturePath);
    else TreeView_SelectItem(Tree(), nullptr);
    moveTo(list->Handle(), 300, 300);
    moveTo(combo->Handle(), 60, 8);
    ASSERT_TRUE(hintShown(3000));
    wchar_t text[512] = {};
    GetWindowTextW(Application->HintWindow().Handle(), text, 512);
    const std::wstring expected = c.select ? L"SelectedPath =\r" + combo->SelectedPath() : std::wstring(L"Selected = nil");
    EXPECT_EQ(std::wstring(text), expected);
    if (c.select) EXPECT_EQ(combo->SelectedPath(), fixturePath);
  }

  // Open, the box shows no hint.
  moveTo(list->Handle(), 300, 300);
  wintest::ClickAt(combo->Btn()->Handle(), 8, 8);
  ASSERT_TRUE(TreeOpen());
  moveTo(combo->Handle(), 60, 8);
  moveTo(combo->Handle(), 70, 9);
  EXPECT_FALSE(hintShown(900));
  wintest::PressKey(VK_ESCAPE);
  EXPECT_FALSE(TreeOpen());
}
