// TOvDirTree21: a tree of the machine's drives and folders on the platform's tree view. Folders
// are listed as their nodes open, the shell's change notifications keep the tree current, and
// selecting a folder shows it in a linked file list (the root shows the list's drive view). Keys,
// a context menu (TOvDirTree21PopUp) and dragging nodes run its folder operations: new, rename
// in place, delete, cut/copy/paste, tree size and properties.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "filelist/DirTreeTexts.h"
#include "filelist/FileListModel.h"
#include "filelist/FileOperations.h"
#include "filelist/ShellFolderTree.h"
#include "framework/Component.h"
#include "framework/Control.h"

class ShellChangeNotifier;
class TOvDirTree21Contents;
class TOvDirTree21PopUp;
class TOvFilelistView28;

using TDirChangeEvent = Event<TObject*, const std::wstring&>;

class TOvDirTree21 : public TWinControl {
 public:
  explicit TOvDirTree21(TComponent* owner);
  ~TOvDirTree21() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // --- Properties ------------------------------------------------------------------------------
  // The selected node's path ("My Computer" for the root).
  const std::wstring& SelectedPath() const { return selectedPath_; }
  void SetSelectedPath(const std::wstring& value);
  const std::wstring& SelectedFile() const { return selectedFile_; }
  void SetSelectedFile(const std::wstring& value);
  // The linked list (borrowed); linking shows SelectedPath in it.
  TOvFilelistView28* FileList() const { return fileList_; }
  void SetFileList(TOvFilelistView28* list);
  TFileType FolderType() const { return folderType_; }
  void SetFolderType(TFileType value);
  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage value);
  bool PopUpMenuEnabled() const { return popUpMenuEnabled_; }
  void SetPopUpMenuEnabled(bool value) { popUpMenuEnabled_ = value; }
  bool DragDropEnabled() const { return dragDropEnabled_; }
  void SetDragDropEnabled(bool value) { dragDropEnabled_ = value; }
  // Forbids editing node captions.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  std::wstring About() const { return L"Version 2.1.8.6"; }
  void SetAbout(const std::wstring&) {}
  const DirTreeTexts& Texts() const { return DirTreeTextsOf(language_); }

  TDirChangeEvent OnDirChange;
  TDirChangeEvent OnFileChange;

  // --- Nodes -----------------------------------------------------------------------------------
  ShellFolderTree& Folders() { return folders_; }
  // Clears the nodes and adds the root and the drives.
  void RebuildTree();
  // Opens the nodes along an existing folder's path and selects the deepest that matches.
  void SelectPath(const std::wstring& path);
  // What a click on the node does: select it, show its folder in the linked list.
  void ChooseNode(HTREEITEM node);
  bool RemoteDrive(wchar_t letter) const { return folders_.IsRemoteDrive(letter); }
  // The folder marked by cut or copy, or the one a drag started at.
  const std::wstring& DragSourcePath() const { return dragSourcePath_; }
  bool PendingFolderPaste() const { return pendingFolderPaste_; }
  // Changes announced by the shell and handled so far.
  int ShellChangesHandled() const { return shellChangesHandled_; }

  // --- Folder operations (on the selected node) ------------------------------------------------
  // A new folder `name` ("New Folder" of the language when empty) in `node` (the selected one when
  // nullptr); a default-named folder is then given to the user to name.
  void NewFolder(HTREEITEM node = nullptr, const std::wstring& name = L"");
  void StartEditing();
  void DeleteFolder();
  void MarkFolder(TTransferMode mode);
  void PasteFolder();
  void ShowTreeSize();
  // The "Folder Contents" window for the selected drive or folder, docked inside the tree. Its OK
  // sets SelectedFile to the chosen file (empty when none), raises OnFileChange, closes it and
  // selects the folder again; a double click opens a file with the shell.
  void ShowFolderContents();
  // The open folder-contents window, or nullptr.
  TOvDirTree21Contents* FolderContents() const { return contents_.get(); }
  void ShowProperties();
  void ConnectNetworkDrive();
  void DisconnectNetworkDrive();
  // Copies or moves the folder another tree dragged (its DragSourcePath) into `node`'s folder.
  void DropFolder(TOvDirTree21& source, HTREEITEM node, TTransferMode mode);
  // Copies or moves the linked list's selected files (not folders) into `node`'s folder.
  void DropListFiles(HTREEITEM node, TTransferMode mode);
  // The directory tree under a screen point (nullptr for none) and in `node` the node whose
  // picture or caption is there (nullptr for none).
  static TOvDirTree21* TreeAt(POINT screen, HTREEITEM& node);

  TOvDirTree21PopUp& PopUpMenu();
  // Opens the context menu 10 pixels right of and below the screen point.
  void ShowContextMenu(POINT screen);

  // The menu maps a network drive through TNetPathDlg (on success the tree is rebuilt and the
  // new drive shown, in the linked list too) and disconnects through the platform's dialog
  // (the tree then shows "My Computer"). A function set here replaces both (connect: true to
  // map, false to disconnect); tests use it to stand in for the dialogs.
  using NetworkDriveDialog = std::function<void(HWND owner, bool connect)>;
  static void SetNetworkDriveDialog(NetworkDriveDialog dialog);

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void CreateWindowDone() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  LRESULT HandleNotify(NMHDR* header);
  void HandleKeyUp(WORD key, TShiftState shift);
  // The node whose caption or picture is at the client point, or nullptr.
  HTREEITEM NodeAt(int x, int y);
  bool BeginLabelEdit(HTREEITEM node);
  void EndLabelEdit(HTREEITEM node, const wchar_t* text);
  void RenameFolder(HTREEITEM node, const std::wstring& typed);
  void BeginDrag(HTREEITEM node);
  void TrackDrag(bool drop);
  void OnShellChange();
  void FolderContentsOk(const std::wstring& file);
  void OpenFromFolderContents(const std::wstring& file);
  bool DriveReady(const std::wstring& root);
  int ShowMessage(const std::wstring& text, UINT flags);
  HWND OwnerWindow();
  // The linked list shows `folder` (and is read again when `update`).
  void ShowInList(const std::wstring& folder, bool update);
  // An existing folder at `path` or above it, for a selection whose folder went away.
  static std::wstring ExistingFolderAtOrAbove(std::wstring path);

  ShellFolderTree folders_;
  std::unique_ptr<ShellChangeNotifier> notifier_;
  std::unique_ptr<TOvDirTree21PopUp> popUp_;
  ComponentPtr<TOvDirTree21Contents> contents_;  // the folder-contents window while it is open
  std::wstring contentsReturnPath_;              // the path selected when it opened
  FileOperations operations_;
  TOvFilelistView28* fileList_ = nullptr;  // borrowed: the linked list (cleared when it is freed)
  std::wstring selectedPath_;
  std::wstring previousPath_;  // the selection before the last choice (restored when a drive is not ready)
  std::wstring selectedFile_;
  std::wstring dragSourcePath_;
  HTREEITEM dragNode_ = nullptr;  // the node a drag started at, while dragging
  TTransferMode dragMode_ = TTransferMode::tmMove;
  bool dragging_ = false;
  bool pendingFolderPaste_ = false;
  bool editAfterNewFolder_ = false;  // the edit names a new folder: no rename question
  TFileType folderType_{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive};
  TLanguage language_ = TLanguage::lnEnglish;
  bool popUpMenuEnabled_ = true;
  bool dragDropEnabled_ = true;
  bool readOnly_ = false;
  bool rebuilding_ = false;
  int shellChangesHandled_ = 0;
};
