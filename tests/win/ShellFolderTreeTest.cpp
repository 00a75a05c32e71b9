// The shared drives-and-folders tree on a plain tree-view window over a fixture folder tree,
// and the shell change notifications it is kept current with.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "filelist/ShellChangeNotifier.h"
#include "filelist/ShellFolderTree.h"
#include "framework/Exception.h"
#include "framework/Handles.h"
#include "framework/Strings.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

class ShellFolderTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    window.reset(CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                                 50, 50, 300, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    tree.Attach(window.get());
    for (const wchar_t* name : {L"beta", L"Alpha", L"alpha\\inner", L"alpha\\inner\\deep", L"gamma"})
      CreateDirectoryW((base + name).c_str(), nullptr);
    folder.Create(L"file.txt");
    tree.Rebuild(true);
  }
  TempFolder folder;
  std::wstring base = folder.Path();  // with its trailing backslash
  UniqueWindow window;
  ShellFolderTree tree;
};

}  // namespace

TEST_F(ShellFolderTreeTest, RootAndDrives) {
  HTREEITEM root = tree.Root();
  ASSERT_TRUE(root);
  EXPECT_EQ(tree.Level(root), 0);
  EXPECT_EQ(tree.NodePath(root), L"");
  DWORD present = GetLogicalDrives();
  std::vector<HTREEITEM> drives = tree.Children(root);
  ASSERT_EQ(drives.size(), static_cast<size_t>(__builtin_popcount(present)));
  for (HTREEITEM drive : drives) {
    std::wstring path = tree.NodePath(drive);
    ASSERT_EQ(path.size(), 3u);
    EXPECT_TRUE(present & (1u << (path[0] - L'A'))) << path;
    EXPECT_EQ(tree.Level(drive), 1);
    EXPECT_TRUE(tree.HasChildrenMark(drive));
  }
}

TEST_F(ShellFolderTreeTest, SelectPathOpensTheNodesDownToTheFolder) {
  HTREEITEM deep = tree.SelectPath(base + L"ALPHA\\Inner\\deep");
  ASSERT_TRUE(deep);
  EXPECT_EQ(tree.Selected(), deep);
  EXPECT_EQ(bv::UpperCase(tree.NodePath(deep)), bv::UpperCase(base + L"alpha\\inner\\deep"));
  HTREEITEM alpha = tree.Parent(tree.Parent(deep));
  EXPECT_EQ(tree.Caption(alpha), L"Alpha");
  // Only folders, sorted by name; an empty folder has no button.
  EXPECT_EQ(tree.ChildCaptions(tree.Parent(alpha)), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  EXPECT_TRUE(tree.Expanded(alpha));
  EXPECT_TRUE(tree.HasChildrenMark(alpha));
  EXPECT_FALSE(tree.HasChildrenMark(tree.FindChild(tree.Parent(alpha), L"gamma")));
}

TEST_F(ShellFolderTreeTest, SelectPathIgnoresWhatIsNoFolderAndStopsWhereNothingMatches) {
  HTREEITEM before = tree.SelectPath(base + L"beta");
  ASSERT_TRUE(before);
  for (const std::wstring& ignored : {std::wstring(), std::wstring(L"C"), base + L"file.txt", base + L"missing"})
    EXPECT_EQ(tree.SelectPath(ignored), nullptr) << ignored;
  EXPECT_EQ(tree.Selected(), before);
}

TEST_F(ShellFolderTreeTest, FoldersAreListedOnlyWhenTheirNodeOpens) {
  HTREEITEM alpha = tree.SelectPath(base + L"alpha");
  ASSERT_TRUE(alpha);
  HTREEITEM inner = tree.FindChild(alpha, L"inner");
  ASSERT_TRUE(inner);
  EXPECT_TRUE(tree.HasChildrenMark(inner));
  EXPECT_TRUE(tree.Children(inner).empty());
  CreateDirectoryW((base + L"alpha\\inner\\later").c_str(), nullptr);
  TreeView_Expand(window.get(), inner, TVE_EXPAND);  // a plain window: its owner routes nothing
  EXPECT_TRUE(tree.Children(inner).empty());
  EXPECT_TRUE(tree.ListChildren(inner));
  EXPECT_EQ(tree.ChildCaptions(inner), (std::vector<std::wstring>{L"deep", L"later"}));
  EXPECT_FALSE(tree.ListChildren(inner));  // listed once
}

TEST_F(ShellFolderTreeTest, TheFilterDecidesWhatIsListed) {
  tree.SetFilter([](const std::wstring& name, uint32_t attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && name.front() != L'.' && name != L"beta";
  });
  HTREEITEM parent = tree.SelectPath(base);
  ASSERT_TRUE(parent);
  EXPECT_EQ(tree.ChildCaptions(parent), (std::vector<std::wstring>{L"Alpha", L"gamma"}));
}

namespace {

// Wine sends no change notification for a plain CreateDirectory: the test announces its changes
// as a program does, through SHChangeNotify.
void Announce(long event, const std::wstring& path) {
  SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
  Pump(50);
}

}  // namespace

TEST_F(ShellFolderTreeTest, NotifierDeliversFolderChangesAndHoldsThemDuringARebuild) {
  std::vector<ShellChangeNotifier::Change> seen;
  ShellChangeNotifier notifier(ShellChangeNotifier::kFolderEvents,
                               [&](const ShellChangeNotifier::Change& change) { seen.push_back(change); });
  std::wstring made = base + L"made";
  CreateDirectoryW(made.c_str(), nullptr);
  Announce(SHCNE_MKDIR, made);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].event, SHCNE_MKDIR);
  EXPECT_TRUE(bv::SameText(seen[0].path, made)) << seen[0].path;
  {
    ShellChangeNotifier::HoldScope hold(&notifier);
    RemoveDirectoryW(made.c_str());
    Announce(SHCNE_RMDIR, made);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(notifier.Received(), 2);
  }
  EXPECT_EQ(seen.size(), 1u);  // handed over from the message loop, not from the scope's end
  Pump(50);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].event, SHCNE_RMDIR);
  Announce(SHCNE_UPDATEITEM, base + L"file.txt");  // not watched
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(ShellFolderTreeTest, NotifierThatCannotRegisterSaysWhy) {
  struct Case {
    const wchar_t* module;
    WORD ordinal;
    const wchar_t* text;
  } cases[] = {
      {L"no-such-shell.dll", 2, L"Unable to load Shell32.dll"},
      {L"shell32.dll", 65000, L"Unable to link to function SHChangeNotifyRegister"},
  };
  for (const Case& c : cases) {
    ShellChangeNotifier::OverrideShellModule(c.module, c.ordinal);
    std::wstring text;
    try {
      ShellChangeNotifier notifier(ShellChangeNotifier::kFolderEvents, nullptr);
    } catch (const Exception& error) {
      text = error.Message();
    }
    ShellChangeNotifier::OverrideShellModule(nullptr, 0);
    EXPECT_EQ(text, c.text);
  }
}

TEST_F(ShellFolderTreeTest, NotifierDestroyedByItsOwnCallbackStopsSafely) {
  std::unique_ptr<ShellChangeNotifier> notifier;
  int calls = 0;
  notifier = std::make_unique<ShellChangeNotifier>(ShellChangeNotifier::kFolderEvents,
                                                   [&](const ShellChangeNotifier::Change&) {
                                                     ++calls;
                                                     notifier.reset();
                                                   });
  {
    ShellChangeNotifier::HoldScope hold(notifier.get());
    Announce(SHCNE_MKDIR, base + L"one");
    Announce(SHCNE_MKDIR, base + L"two");
  }
  Pump(50);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(notifier);
  Announce(SHCNE_MKDIR, base + L"three");
  EXPECT_EQ(calls, 1);
}
