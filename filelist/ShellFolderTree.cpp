// See ShellFolderTree.h.
#include "filelist/ShellFolderTree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "filelist/DirTreeNodes.h"
#include "filelist/FindFileEnumerator.h"
#include "framework/Handles.h"
#include "framework/Strings.h"

namespace {

struct ShellIcons {
  int normal = 0;
  int open = 0;
};

ShellIcons IconsOfPath(const std::wstring& path, DWORD extraFlags = 0) {
  ShellIcons icons;
  SHFILEINFOW info{};
  if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extraFlags))
    icons.normal = info.iIcon;
  info = {};
  icons.open = SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info),
                              SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON | extraFlags)
                   ? info.iIcon
                   : icons.normal;
  return icons;
}

// The plain folder pictures, asked once: every folder node shows them.
const ShellIcons& FolderIcons() {
  static const ShellIcons icons = [] {
    ShellIcons found;
    SHFILEINFOW info{};
    const DWORD flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags)) found.normal = info.iIcon;
    info = {};
    found.open = SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags | SHGFI_OPENICON)
                     ? info.iIcon
                     : found.normal;
    return found;
  }();
  return icons;
}

// Keeps the system's "insert a disk" box away while removable drives are listed.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietDriveErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

constexpr uint32_t kDefaultFolderMask = 0x97;  // FolderFilterMask of the default FolderType

}  // namespace

ShellFolderTree::ShellFolderTree()
    : filter_([](const std::wstring& name, uint32_t attributes) {
        return dirtree::IsListableSubfolder(name, attributes, kDefaultFolderMask);
      }) {}

ShellFolderTree::~ShellFolderTree() = default;

DirectoryEnumerator& ShellFolderTree::Enumerator() {
  if (enumerator_) return *enumerator_;
  if (!platformEnumerator_) platformEnumerator_ = std::make_unique<FindFileEnumerator>();
  return *platformEnumerator_;
}

void ShellFolderTree::Attach(HWND tree) {
  tree_ = tree;
  if (!tree_) return;
  SHFILEINFOW info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) TreeView_SetImageList(tree_, images, TVSIL_NORMAL);
}

HTREEITEM ShellFolderTree::AddNode(HTREEITEM parent, const std::wstring& caption, int image, int selectedImage,
                                   bool hasChildren) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  std::wstring text = caption;
  insert.item.pszText = text.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.cChildren = hasChildren ? 1 : 0;
  return TreeView_InsertItem(tree_, &insert);
}

HTREEITEM ShellFolderTree::Rebuild(bool withDrives) {
  if (!tree_) return nullptr;
  TreeView_DeleteAllItems(tree_);
  std::wstring caption = dirtree::kRootPath;
  int icon = 0;
  LPITEMIDLIST drives = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) {
    UniqueItemIdList item(drives);
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.get()), 0, &info, sizeof(info),
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
      if (info.szDisplayName[0]) caption = info.szDisplayName;
      icon = info.iIcon;
    }
  }
  HTREEITEM root = AddNode(nullptr, caption, icon, icon, true);
  if (withDrives) EnsureDrives();
  return root;
}

HTREEITEM ShellFolderTree::Root() const { return tree_ ? TreeView_GetRoot(tree_) : nullptr; }

bool ShellFolderTree::HasDrives() const {
  HTREEITEM root = Root();
  return root && TreeView_GetChild(tree_, root);
}

void ShellFolderTree::EnsureDrives() {
  HTREEITEM root = Root();
  if (!root || HasDrives()) return;
  QuietDriveErrors quiet;
  remote_.fill(false);
  DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(present & (1u << i))) continue;
    wchar_t letter = static_cast<wchar_t>(L'A' + i);
    std::wstring path{letter, L':', L'\\'};
    remote_[static_cast<size_t>(i)] = GetDriveTypeW(path.c_str()) == DRIVE_REMOTE;
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    ShellIcons icons = IconsOfPath(path);
    AddNode(root, dirtree::DriveCaption(letter, info.szDisplayName), icons.normal, icons.open, true);
  }
}

bool ShellFolderTree::IsRemoteDrive(wchar_t letter) const {
  letter = static_cast<wchar_t>(towupper(letter));
  return letter >= L'A' && letter <= L'Z' && remote_[static_cast<size_t>(letter - L'A')];
}

bool ShellFolderTree::HasListableSubfolder(const std::wstring& folder) {
  // The enumerator cannot stop early; the folder is read once and the first hit is enough.
  bool found = false;
  Enumerator().Enumerate(dirtree::JoinNodePath(folder, L"*.*"), [&](const FoundItem& item) {
    if (!found && filter_(item.name, item.attributes)) found = true;
  });
  return found;
}

bool ShellFolderTree::ListChildren(HTREEITEM node) {
  int level = Level(node);
  if (level < 1 || TreeView_GetChild(tree_, node)) return false;
  std::wstring path = NodePath(node);
  if (path.empty()) return false;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  QuietDriveErrors quiet;
  SetHasChildrenMark(node, false);
  std::vector<std::wstring> names;
  Enumerator().Enumerate(dirtree::JoinNodePath(path, L"*.*"), [&](const FoundItem& item) {
    if (filter_(item.name, item.attributes)) names.push_back(item.name);
  });
  bool remote = IsRemoteDrive(path[0]);
  const ShellIcons& icons = FolderIcons();
  for (const std::wstring& name : names) {
    bool hasChildren = remote || HasListableSubfolder(dirtree::JoinNodePath(path, name));
    AddNode(node, name, icons.normal, icons.open, hasChildren);
  }
  TreeView_SortChildren(tree_, node, FALSE);
  SetCursor(previous);
  return true;
}

void ShellFolderTree::OnItemExpanding(const NMTREEVIEWW& info) {
  if (info.action & TVE_EXPAND) ListChildren(info.itemNew.hItem);
}

void ShellFolderTree::SetHasChildrenMark(HTREEITEM node, bool value) {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = node;
  item.cChildren = value ? 1 : 0;
  TreeView_SetItem(tree_, &item);
}

bool ShellFolderTree::HasChildrenMark(HTREEITEM node) const {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = node;
  return TreeView_GetItem(tree_, &item) && item.cChildren != 0;
}

bool ShellFolderTree::Expanded(HTREEITEM node) const {
  return node && (TreeView_GetItemState(tree_, node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

HTREEITEM ShellFolderTree::Selected() const { return tree_ ? TreeView_GetSelection(tree_) : nullptr; }

int ShellFolderTree::Level(HTREEITEM node) const {
  if (!node || !tree_) return -1;
  int level = 0;
  for (HTREEITEM up = TreeView_GetParent(tree_, node); up; up = TreeView_GetParent(tree_, up)) ++level;
  return level;
}

HTREEITEM ShellFolderTree::Parent(HTREEITEM node) const { return node ? TreeView_GetParent(tree_, node) : nullptr; }

std::wstring ShellFolderTree::Caption(HTREEITEM node) const {
  if (!node) return {};
  wchar_t text[MAX_PATH + 1] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  return TreeView_GetItem(tree_, &item) ? std::wstring(text) : std::wstring();
}

std::wstring ShellFolderTree::NodePath(HTREEITEM node) const {
  std::vector<std::wstring> names;
  for (HTREEITEM up = node; up; up = TreeView_GetParent(tree_, up)) names.push_back(Caption(up));
  if (names.size() < 2) return {};  // the root (or no node)
  names.pop_back();                 // the root
  std::wstring path = dirtree::DrivePathOfCaption(names.back());
  if (path.empty()) return {};
  for (auto name = names.rbegin() + 1; name != names.rend(); ++name) path = dirtree::JoinNodePath(path, *name);
  return path;
}

std::vector<HTREEITEM> ShellFolderTree::Children(HTREEITEM node) const {
  std::vector<HTREEITEM> children;
  if (!node) return children;
  for (HTREEITEM child = TreeView_GetChild(tree_, node); child; child = TreeView_GetNextSibling(tree_, child))
    children.push_back(child);
  return children;
}

std::vector<std::wstring> ShellFolderTree::ChildCaptions(HTREEITEM node) const {
  std::vector<std::wstring> captions;
  for (HTREEITEM child : Children(node)) captions.push_back(Caption(child));
  return captions;
}

HTREEITEM ShellFolderTree::FindChild(HTREEITEM node, const std::wstring& element) const {
  int level = Level(node) + 1;
  for (HTREEITEM child : Children(node))
    if (dirtree::ElementMatches(dirtree::NodeElement(Caption(child), level), element)) return child;
  return nullptr;
}

HTREEITEM ShellFolderTree::SelectPath(const std::wstring& path) {
  if (path.size() < 2 || !tree_) return nullptr;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  HTREEITEM root = Root();
  if (!root) root = Rebuild(false);
  EnsureDrives();
  TreeView_Expand(tree_, root, TVE_COLLAPSE);
  HTREEITEM current = root;
  for (const std::wstring& element : dirtree::PathElements(bv::IncludeTrailingBackslash(path))) {
    HTREEITEM child = FindChild(current, element);
    if (!child) break;
    current = child;
    TreeView_SelectItem(tree_, current);
    ListChildren(current);
    TreeView_Expand(tree_, current, TVE_EXPAND);
  }
  TreeView_EnsureVisible(tree_, current);
  return current;
}
