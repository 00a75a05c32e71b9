// TOvDirTreeCombo28: a one-line, read-only box with a drop-down button that opens a tree of the
// machine's drives and folders (TOvDirTreeView, a top-level tool window). Choosing a node puts
// its icon and caption into the box and points a linked TOvFilelistView28 at the folder.
//
// The keyboard focus stays in the box while the tree is open: the box's keys walk the tree and
// the tree holds the mouse capture, so a click anywhere ends the drop-down.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "filelist/ShellFolderTree.h"
#include "framework/Control.h"
#include "framework/Handles.h"
#include "framework/WindowSubclass.h"

class ShellChangeNotifier;
class TOvFilelistView28;
class TOvDirTreeCombo28;

using TPathChangeEvent = Event<TObject*, const std::wstring&>;

// A flat button that shows a bitmap and never opens a context menu.
class TOvSpeedButton : public TCustomControl {
 public:
  explicit TOvSpeedButton(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Borrowed: the owner keeps the bitmap.
  void SetGlyph(HBITMAP glyph);
  bool Down() const { return down_; }
  void SetDown(bool value);

 protected:
  void WndProc(TMessage& message) override;
  void Paint(HDC dc) override;

 private:
  HBITMAP glyph_ = nullptr;  // borrowed
  bool down_ = false;
};

// The drop-down tree: a tree view in a top-level, always-on-top tool window.
class TOvDirTreeView : public TWinControl {
 public:
  TOvDirTreeView(TOvDirTreeCombo28* combo, TComponent* owner);
  ~TOvDirTreeView() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  ShellFolderTree& Nodes() { return nodes_; }
  bool MouseInside() const { return mouseInside_; }
  // The node's path as the combo reports it: "My Computer" for the root.
  std::wstring PathOf(HTREEITEM node) const;

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void CreateWindowDone() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TOvDirTreeCombo28;
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void MouseMoved(POINT client);
  void MousePressed(UINT msg, POINT client);

  TOvDirTreeCombo28* combo_;  // borrowed: the combo that owns this tree
  ShellFolderTree nodes_;
  bool mouseInside_ = false;
  bool keepCapture_ = false;  // a scroll-bar drag of our own releases the capture for a moment
  POINT restingCursor_{};     // where the cursor was when the tree opened
};

class TOvDirTreeCombo28 : public TWinControl {
 public:
  static constexpr int kButtonWidth = 17;

  explicit TOvDirTreeCombo28(TComponent* owner);
  ~TOvDirTreeCombo28() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // "My Computer" once the window exists while no node was chosen.
  std::wstring SelectedPath() const;
  // Stores a new path (ignoring letter case) and points the linked list at it.
  void SetSelectedPath(const std::wstring& value);
  TOvFilelistView28* FileList() const { return fileList_; }
  void SetFileList(TOvFilelistView28* list);
  bool ExpandRoot() const { return expandRoot_; }
  void SetExpandRoot(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  int TreeHeight() const { return treeHeight_; }
  void SetTreeHeight(int value) { treeHeight_ = value; }
  // The button's bitmap (the platform's combo arrow by default); assigning copies it.
  HBITMAP Glyph() const { return glyph_.get(); }
  void SetGlyph(HBITMAP bitmap);
  std::wstring About() const { return L"Version 2.8.8.6"; }
  void SetAbout(const std::wstring&) {}

  // Opens the tree along an existing folder, shows its deepest node in the box and stores the
  // path (with a trailing backslash). Empty, one-character and missing paths are ignored.
  void SelectPath(const std::wstring& path);
  // Fills the tree again.
  void Rebuild();
  void ToggleDropDown();
  void CloseUp();
  bool DroppedDown() const;
  // Takes a node as the choice (the root stands for "My Computer").
  void CommitNode(HTREEITEM node);

  TOvSpeedButton* Btn() const { return button_; }
  TOvDirTreeView* Tree() const { return tree_; }
  // The picture index shown in the box (-1 for none).
  int IconIndex() const { return iconIndex_; }
  ShellChangeNotifier* Notifier() const { return notifier_.get(); }

  TPathChangeEvent OnPathChange;

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void CreateWindowDone() override;
  void WndProc(TMessage& message) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  // Entering the closed box sets its hint to the selected path.
  void MouseEnter() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool HandleBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void ShowNode(HTREEITEM node);
  void UpdateTextArea();
  void PlaceButton();
  void PaintIcon();
  void MoveSelection(WORD key);
  void ShellChanged();
  bool DriveReadyForChoice(const std::wstring& path);

  std::wstring selectedPath_;
  std::wstring previousPath_;
  TOvFilelistView28* fileList_ = nullptr;  // borrowed: the linked list (cleared when it goes)
  TOvSpeedButton* button_ = nullptr;       // owned as a component
  TOvDirTreeView* tree_ = nullptr;         // owned as a component
  UniqueBitmap glyph_;
  int iconIndex_ = -1;
  int treeHeight_ = 240;
  bool expandRoot_ = true;
  bool hideSelection_ = false;
  WindowSubclass boxHook_;  // wheel turns and right-button releases on the box
  std::unique_ptr<ShellChangeNotifier> notifier_;
};
