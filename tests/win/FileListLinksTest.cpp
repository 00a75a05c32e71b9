// A file list's own links to a directory tree and a drop-down tree (set from the list, linked
// back, cleared when either side goes), and dragging the list's selected files onto a folder of
// the linked tree with real mouse input.
#include <shlobj.h>

#include "filelist/OvDirTree21.h"
#include "filelist/OvDirTreeCombo28.h"
#include "tests/win/FileListFixture.h"

using namespace wintest;

namespace {

class FileListLinksTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"beta", L"gamma"}) CreateDirectoryW((base + name).c_str(), nullptr);
    folder.Create(L"one.txt", "1");
    folder.Create(L"two.txt", "2");
    list->SetBounds(320, 10, 300, 420);
    tree = AddTree();
    Pump();
  }
  TOvDirTree21* AddTree() {
    auto* added = new TOvDirTree21(form.get());
    added->SetParent(form.get());
    added->SetBounds(10, 10, 300, 420);
    return added;
  }
  TOvDirTreeCombo28* AddCombo() {
    auto* added = new TOvDirTreeCombo28(form.get());
    added->SetParent(form.get());
    added->SetBounds(10, 440, 300, 21);
    return added;
  }
  // The list shows the fixture folder, the tree has it open, `name`'s row is the only selected one.
  void ShowFixture(const std::wstring& name) {
    tree->SelectPath(base + L"gamma");  // opens the fixture folder's node
    list->SetDirectory(base);
    list->UpdateFileList();
    int row = FindListItem(list->Handle(), name);
    ASSERT_GE(row, 0);
    Select(row);
  }
  POINT RowCentreOnScreen(int row) {
    POINT p = ListItemCentre(list->Handle(), row);
    ClientToScreen(list->Handle(), &p);
    return p;
  }
  POINT NodeCentreOnScreen(HTREEITEM node) {
    TreeView_EnsureVisible(tree->Handle(), node);
    RECT r{};
    TreeView_GetItemRect(tree->Handle(), node, &r, TRUE);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tree->Handle(), &p);
    return p;
  }
  // A real drag: press at `from`, move in steps to `to`, release there (with Ctrl held at the
  // release when asked: a Ctrl-press would toggle the row's selection, and under Wine a pointer
  // move takes the modifier state over from the display, so Ctrl goes down after the last move).
  void Drag(POINT from, POINT to, bool ctrl) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x, from.y);
    // A press at the spot of the last one within the double-click time would be a double click
    // (the next case's file takes the row of the one dragged away before).
    Pump(static_cast<int>(GetDoubleClickTime()) + 50);
    // Press and the first moves go in together: the list view may follow the pressed button in
    // a loop of its own until the mouse has moved.
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step)
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x + (to.x - from.x) * step / 8,
                from.y + (to.y - from.y) * step / 8);
    Pump(60);
    for (int step = 5; step <= 8; ++step) {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x + (to.x - from.x) * step / 8,
                from.y + (to.y - from.y) * step / 8);
      Pump(20);
    }
    draggingSeen = list->Dragging();
    if (ctrl) {
      SendKey(VK_CONTROL, false);
      Pump(20);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
    if (ctrl) SendKey(VK_CONTROL, true);
    Pump(150);
  }
  static void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
  }

  std::wstring base = folder.Path();
  TOvDirTree21* tree = nullptr;  // owned by the form
  bool draggingSeen = false;
};

}  // namespace

TEST_F(FileListLinksTest, WritingALinkUnlinksThePreviousControlAndLinksTheNewOneBack) {
  TOvDirTree21* other = AddTree();
  list->SetDirTree(tree);
  EXPECT_EQ(list->DirTree(), tree);
  EXPECT_EQ(tree->FileList(), list);
  list->SetDirTree(other);
  EXPECT_EQ(list->DirTree(), other);
  EXPECT_EQ(other->FileList(), list);
  EXPECT_EQ(tree->FileList(), nullptr);
  list->SetDirTree(nullptr);
  EXPECT_EQ(other->FileList(), nullptr);

  TOvDirTreeCombo28* combo = AddCombo();
  TOvDirTreeCombo28* otherCombo = AddCombo();
  list->SetDirTreeCombo(combo);
  EXPECT_EQ(list->DirTreeCombo(), combo);
  EXPECT_EQ(combo->FileList(), list);
  list->SetDirTreeCombo(otherCombo);
  EXPECT_EQ(otherCombo->FileList(), list);
  EXPECT_EQ(combo->FileList(), nullptr);
  // The published properties reach the same links.
  const PropInfo* property = list->ClassType().FindProperty(L"DirTree");
  ASSERT_TRUE(property);
  property->setObject(*list, tree);
  EXPECT_EQ(list->DirTree(), tree);
  EXPECT_EQ(tree->FileList(), list);
}

TEST_F(FileListLinksTest, ALinkIsClearedWhenEitherSideIsFreed) {
  TOvDirTreeCombo28* combo = AddCombo();
  list->SetDirTree(tree);
  list->SetDirTreeCombo(combo);
  delete tree;
  tree = nullptr;
  EXPECT_EQ(list->DirTree(), nullptr);
  delete combo;
  EXPECT_EQ(list->DirTreeCombo(), nullptr);

  // The list going first clears the other side's link.
  tree = AddTree();
  combo = AddCombo();
  list->SetDirTree(tree);
  list->SetDirTreeCombo(combo);
  delete list;
  list = nullptr;
  EXPECT_EQ(tree->FileList(), nullptr);
  EXPECT_EQ(combo->FileList(), nullptr);
}

TEST_F(FileListLinksTest, DraggingSelectedFilesOntoATreeFolderMovesOrCopiesThem) {
  struct Case {
    const char* name;
    bool ctrl;
    bool leftInPlace;
  } cases[] = {{"move", false, false}, {"copy with Ctrl held at the drop", true, true}};
  list->SetDirTree(tree);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring file = c.ctrl ? L"two.txt" : L"one.txt";
    ShowFixture(file);
    HTREEITEM beta = tree->Folders().FindChild(tree->Folders().Parent(tree->Folders().Selected()), L"beta");
    ASSERT_TRUE(beta);
    Drag(RowCentreOnScreen(FindListItem(list->Handle(), file)), NodeCentreOnScreen(beta), c.ctrl);
    EXPECT_TRUE(draggingSeen);
    EXPECT_FALSE(list->Dragging());
    EXPECT_TRUE(folder.Exists(L"beta\\" + file));
    EXPECT_EQ(folder.Exists(file), c.leftInPlace);
    EXPECT_EQ(GetCapture(), nullptr);
  }
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(FileListLinksTest, NoDragWithoutALinkedTreeThatAllowsItOrWithinTheDragDistance) {
  struct Case {
    const char* name;
    bool link;
    bool dragDrop;
    bool short_;  // released within the drag distance plus 10 pixels
  } cases[] = {
      {"no linked tree", false, true, false},
      {"dragging switched off in the tree", true, false, false},
      {"within the distance", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list->SetDirTree(c.link ? tree : nullptr);
    tree->SetDragDropEnabled(c.dragDrop);
    ShowFixture(L"one.txt");
    HTREEITEM beta = tree->Folders().FindChild(tree->Folders().Parent(tree->Folders().Selected()), L"beta");
    ASSERT_TRUE(beta);
    POINT from = RowCentreOnScreen(FindListItem(list->Handle(), L"one.txt"));
    POINT to = NodeCentreOnScreen(beta);
    if (c.short_) to = {from.x - (GetSystemMetrics(SM_CXDRAG) + 8), from.y};
    Drag(from, to, false);
    EXPECT_FALSE(draggingSeen);
    EXPECT_TRUE(folder.Exists(L"one.txt"));
    EXPECT_FALSE(folder.Exists(L"beta\\one.txt"));
  }
}
