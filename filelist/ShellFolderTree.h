// ShellFolderTree: the drives-and-folders content of a native tree-view window, shared by the
// directory tree and the drop-down tree of the combo. It fills the root ("My Computer", with the
// shell's name and icon) and one node per drive, lists a node's subfolders the first time it
// opens (through a filter, sorted by name), gives each node's path and opens the nodes along a
// path. The window is borrowed: its owner creates it and routes TVN_ITEMEXPANDING here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class DirectoryEnumerator;

class ShellFolderTree {
 public:
  // Whether a found item (name, attribute bits) is listed as a subfolder.
  using SubfolderFilter = std::function<bool(const std::wstring& name, uint32_t attributes)>;

  ShellFolderTree();
  ~ShellFolderTree();
  ShellFolderTree(const ShellFolderTree&) = delete;
  ShellFolderTree& operator=(const ShellFolderTree&) = delete;

  // Works on this tree-view window from now on and gives it the shell's small image list.
  void Attach(HWND tree);
  HWND Window() const { return tree_; }
  // The listing rule; by default dirtree::IsListableSubfolder with the default folder mask.
  void SetFilter(SubfolderFilter filter) { filter_ = std::move(filter); }
  // The folder enumeration (tests may hand in their own); borrowed, nullptr for the platform's.
  void SetEnumerator(DirectoryEnumerator* enumerator) { enumerator_ = enumerator; }

  // Removes every node and adds the root, and with `withDrives` one node per present drive.
  HTREEITEM Rebuild(bool withDrives);
  HTREEITEM Root() const;
  bool HasDrives() const;
  // Adds the drive nodes under the root when it has none.
  void EnsureDrives();
  // Whether the drive was a network drive when the drives were last added.
  bool IsRemoteDrive(wchar_t letter) const;

  // Lists the node's subfolders when it has no child nodes yet (the drive and folder levels);
  // true when it listed. The has-children mark of the node is cleared first, so a folder
  // without listable subfolders loses its button.
  bool ListChildren(HTREEITEM node);
  // For the owner's TVN_ITEMEXPANDING: lists the children of a node that is about to open.
  void OnItemExpanding(const NMTREEVIEWW& info);

  // 0 for the root, 1 for drives, 2 and deeper for folders; -1 for no node.
  int Level(HTREEITEM node) const;
  std::wstring Caption(HTREEITEM node) const;
  // The node's path: empty for the root, "X:\" for a drive, a folder path without trailing
  // backslash for a folder.
  std::wstring NodePath(HTREEITEM node) const;
  HTREEITEM Parent(HTREEITEM node) const;
  std::vector<HTREEITEM> Children(HTREEITEM node) const;
  std::vector<std::wstring> ChildCaptions(HTREEITEM node) const;
  bool HasChildrenMark(HTREEITEM node) const;
  bool Expanded(HTREEITEM node) const;
  HTREEITEM Selected() const;
  // The child of `node` that stands for the path element ("C:" or a folder name), or nullptr.
  HTREEITEM FindChild(HTREEITEM node, const std::wstring& element) const;
  // Opens the nodes along an existing folder's path and selects the deepest that matched (the
  // root's drives are added first when missing, and the root is collapsed before). Answers the
  // node selected, or nullptr when the path was ignored (empty, one character, no folder).
  HTREEITEM SelectPath(const std::wstring& path);

 private:
  HTREEITEM AddNode(HTREEITEM parent, const std::wstring& caption, int image, int selectedImage, bool hasChildren);
  void SetHasChildrenMark(HTREEITEM node, bool value);
  // Whether the folder holds at least one listable subfolder (stops at the first).
  bool HasListableSubfolder(const std::wstring& folder);
  DirectoryEnumerator& Enumerator();

  HWND tree_ = nullptr;  // borrowed: the owner's tree-view window
  SubfolderFilter filter_;
  DirectoryEnumerator* enumerator_ = nullptr;  // borrowed, or nullptr for platformEnumerator_
  std::unique_ptr<DirectoryEnumerator> platformEnumerator_;
  std::array<bool, 26> remote_{};  // per drive letter, from the last drive listing
};
