// See OvDirTree21.h.
#include "filelist/OvDirTree21.h"

#include <shellapi.h>
#include <windowsx.h>

#include "filelist/DirTreeNodes.h"
#include "filelist/FileNames.h"
#include "filelist/FindFileEnumerator.h"
#include "filelist/NetPathDlg.h"
#include "filelist/OvDirTree21Contents.h"
#include "filelist/OvDirTree21PopUp.h"
#include "filelist/OvFilelistView28.h"
#include "filelist/ShellChangeNotifier.h"
#include "filelist/WaitCursor.h"
#include "framework/Application.h"
#include "framework/Messages.h"
#include "framework/Strings.h"

namespace {

TOvDirTree21::NetworkDriveDialog networkDriveDialog;

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  wchar_t text[16] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16) > 1 ? std::wstring(text) : std::wstring(fallback);
}

}  // namespace

const ClassInfo& TOvDirTree21::StaticClass() {
  using L = TOvDirTree21;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<L>(L"TOvDirTree21", &TWinControl::StaticClass())
          .String(L"About", &L::About, &L::SetAbout)
          .Boolean(L"DragDropEnabled", &L::DragDropEnabled, &L::SetDragDropEnabled)
          .Ordinal(L"FolderType", FileTypeSetType(), &L::FolderType, &L::SetFolderType)
          .Ordinal(L"Language", LanguageType(), &L::Language, &L::SetLanguage)
          .Boolean(L"PopUpMenuEnabled", &L::PopUpMenuEnabled, &L::SetPopUpMenuEnabled)
          .Boolean(L"ReadOnly", &L::ReadOnly, &L::SetReadOnly)
          .String(L"SelectedFile", &L::SelectedFile, &L::SetSelectedFile)
          .String(L"SelectedPath", &L::SelectedPath, &L::SetSelectedPath)
          .Build());
  return info;
}

void TOvDirTree21::SetNetworkDriveDialog(NetworkDriveDialog dialog) { networkDriveDialog = std::move(dialog); }

TOvDirTree21::TOvDirTree21(TComponent* owner)
    : TWinControl(owner),
      operations_({[this] { return OwnerWindow(); },
                   [this](const std::wstring& text, UINT flags) { ShowMessage(text, flags); },
                   [this]() -> const FileListTexts& { return TextsOf(language_); }}) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 180, 120);
  SetFolderType(folderType_);
  notifier_ = std::make_unique<ShellChangeNotifier>(ShellChangeNotifier::kFolderEvents,
                                                    [this](const ShellChangeNotifier::Change&) { OnShellChange(); });
}

TOvDirTree21::~TOvDirTree21() {
  // A list linked to this tree lets go now: a plain delete runs this body before the base
  // class tells the components that asked, and by then the pair would be gone.
  if (fileList_ && fileList_->DirTree() == this) fileList_->SetDirTree(nullptr);
  contents_.reset();
  notifier_.reset();
  if (fileList_) fileList_->RemoveFreeNotification(this);
}

void TOvDirTree21::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = WC_TREEVIEWW;
  p.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER;
  if (!readOnly_) p.style |= TVS_EDITLABELS;
}

void TOvDirTree21::CreateWindowDone() {
  TWinControl::CreateWindowDone();
  folders_.Attach(Handle());
  if (IsLoading()) {
    folders_.Rebuild(false);  // the drives follow when loading completes
    return;
  }
  RebuildTree();
  TreeView_Expand(Handle(), folders_.Root(), TVE_EXPAND);
}

void TOvDirTree21::Loaded() {
  TWinControl::Loaded();
  if (!HandleAllocated()) return;
  RebuildTree();
  TreeView_Expand(Handle(), folders_.Root(), TVE_EXPAND);
}

// ---------------------------------------------------------------------------------------------
// Properties

void TOvDirTree21::SetSelectedPath(const std::wstring& value) {
  if (!bv::SameText(value, selectedPath_)) selectedPath_ = value;
}

void TOvDirTree21::SetSelectedFile(const std::wstring& value) {
  if (!bv::SameText(value, selectedFile_)) selectedFile_ = value;
}

void TOvDirTree21::SetFileList(TOvFilelistView28* list) {
  if (fileList_ == list) return;
  if (fileList_) fileList_->RemoveFreeNotification(this);
  fileList_ = list;
  if (!fileList_) return;
  fileList_->FreeNotification(this);
  if (!selectedPath_.empty()) fileList_->SetDirectory(selectedPath_);
}

void TOvDirTree21::SetFolderType(TFileType value) {
  folderType_ = value;
  uint32_t mask = dirtree::FolderFilterMask(value);
  folders_.SetFilter([mask](const std::wstring& name, uint32_t attributes) {
    return dirtree::IsListableSubfolder(name, attributes, mask);
  });
}

void TOvDirTree21::SetLanguage(TLanguage value) {
  if (value == TLanguage::lnSysDefault) value = LanguageOfLangId(GetUserDefaultLangID());
  if (value == language_) return;
  language_ = value;
  if (popUp_) popUp_->Rebuild();
  popUpMenuEnabled_ = true;
}

void TOvDirTree21::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = value ? (style & ~static_cast<LONG_PTR>(TVS_EDITLABELS)) : (style | TVS_EDITLABELS);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

// ---------------------------------------------------------------------------------------------
// Nodes

void TOvDirTree21::RebuildTree() {
  if (!HandleAllocated()) return;
  // Changes the shell announces while the nodes are rebuilt wait until the rebuild is over.
  ShellChangeNotifier::HoldScope hold(notifier_.get());
  rebuilding_ = true;
  folders_.Rebuild(true);
  rebuilding_ = false;
}

void TOvDirTree21::SelectPath(const std::wstring& path) {
  if (path.size() < 2 || !FolderExists(path) || !HandleAllocated()) return;
  ShellChangeNotifier::HoldScope hold(notifier_.get());
  folders_.SelectPath(path);
  if (!bv::SameText(selectedPath_, path)) selectedPath_ = bv::IncludeTrailingBackslash(path);
  OnDirChange(this, selectedPath_);
}

void TOvDirTree21::ChooseNode(HTREEITEM node) {
  if (!node) return;
  TreeView_SelectItem(Handle(), node);
  int level = folders_.Level(node);
  if (level == 0) folders_.EnsureDrives();
  std::wstring path = level == 0 ? std::wstring(dirtree::kRootPath) : folders_.NodePath(node);
  previousPath_ = selectedPath_;
  selectedPath_ = path;
  if (level == 1) {
    UINT type = GetDriveTypeW(path.c_str());
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !DriveReady(path)) {
      selectedPath_ = previousPath_;
      SelectPath(previousPath_);
      return;
    }
  }
  OnDirChange(this, selectedPath_);
  if (fileList_ && !path.empty()) {
    fileList_->SetDirectory(path);
    fileList_->ClickSequence();
  }
}

bool TOvDirTree21::DriveReady(const std::wstring& root) {
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  ULARGE_INTEGER available, total, free;
  bool ready = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
  SetErrorMode(previous);
  if (!ready) {
    MessageBeep(MB_ICONHAND);
    ShowMessage(TextsOf(language_).MsgDriveNotReady, MB_OK | MB_ICONWARNING);
  }
  return ready;
}

std::wstring TOvDirTree21::ExistingFolderAtOrAbove(std::wstring path) {
  while (path.size() > 3 && !FolderExists(path)) path = bv::ExcludeTrailingBackslash(filelist::FolderOf(bv::ExcludeTrailingBackslash(path)));
  return FolderExists(path) ? path : std::wstring();
}

void TOvDirTree21::OnShellChange() {
  if (!HandleAllocated() || rebuilding_) return;
  ++shellChangesHandled_;
  LockWindowUpdate(Handle());
  std::wstring previous = selectedPath_;
  RebuildTree();
  TreeView_Expand(Handle(), folders_.Root(), TVE_EXPAND);
  // The selected folder may be the one that went away: its nearest existing parent is shown.
  std::wstring folder = bv::SameText(previous, dirtree::kRootPath) ? previous : ExistingFolderAtOrAbove(previous);
  if (!folder.empty() && folder != dirtree::kRootPath) SelectPath(folder);
  if (!folder.empty()) ShowInList(folder, true);
  LockWindowUpdate(nullptr);
}

void TOvDirTree21::ShowInList(const std::wstring& folder, bool update) {
  if (!fileList_ || folder.empty()) return;
  fileList_->SetDirectory(folder);
  if (update) fileList_->UpdateFileList();
}

// ---------------------------------------------------------------------------------------------
// Messages

void TOvDirTree21::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == fileList_) fileList_ = nullptr;
}

int TOvDirTree21::ShowMessage(const std::wstring& text, UINT flags) {
  if (Application) return Application->MessageDlg(text, Application->Title(), flags);
  return MessageBoxW(HandleAllocated() ? Handle() : nullptr, text.c_str(), L"", flags);
}

HWND TOvDirTree21::OwnerWindow() {
  if (!HandleAllocated()) return Application ? Application->Handle() : nullptr;
  HWND root = GetAncestor(Handle(), GA_ROOT);
  return root ? root : Handle();
}

void TOvDirTree21::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      m.Result = HandleNotify(reinterpret_cast<NMHDR*>(m.LParam));
      return;
    case CM_RELEASE:
      contents_.reset();
      return;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (popUp_ && popUp_->Pictures().OwnerDraw(m)) return;
      break;
    case WM_LBUTTONDOWN: {
      // The tree view first follows the button itself (selection, a drag that may start); the
      // chosen folder is shown once the button is back up. Showing it first would run the
      // linked list's rebuild, whose message handling would take the tree view's button-up.
      HTREEITEM node = NodeAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      TWinControl::WndProc(m);
      if (node && !dragging_) ChooseNode(node);
      return;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        TrackDrag(false);
        m.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        TrackDrag(true);
        m.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        dragging_ = false;
        TreeView_SelectDropTarget(Handle(), nullptr);
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      HandleKeyUp(static_cast<WORD>(m.WParam), CurrentShiftState());
      break;
    case WM_GETDLGCODE:
      // The caption editor needs Enter and Escape.
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (TreeView_GetEditControl(Handle()) ? DLGC_WANTALLKEYS : 0);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

LRESULT TOvDirTree21::HandleNotify(NMHDR* header) {
  switch (header->code) {
    case TVN_ITEMEXPANDINGW: {
      WaitCursor wait;
      folders_.OnItemExpanding(*reinterpret_cast<NMTREEVIEWW*>(header));
      return FALSE;
    }
    case TVN_BEGINLABELEDITW:
      return BeginLabelEdit(reinterpret_cast<NMTVDISPINFOW*>(header)->item.hItem) ? FALSE : TRUE;
    case TVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      EndLabelEdit(info->item.hItem, info->item.pszText);
      return FALSE;  // the tree is rebuilt after a rename; the old caption stays until then
    }
    case TVN_BEGINDRAGW:
      BeginDrag(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
      return 0;
    case NM_RCLICK: {
      POINT cursor;
      GetCursorPos(&cursor);
      POINT client = cursor;
      ::ScreenToClient(Handle(), &client);
      if (HTREEITEM node = NodeAt(client.x, client.y)) ChooseNode(node);
      if (popUpMenuEnabled_) ShowContextMenu(cursor);
      return TRUE;
    }
    default:
      return 0;
  }
}

HTREEITEM TOvDirTree21::NodeAt(int x, int y) {
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  HTREEITEM node = TreeView_HitTest(Handle(), &hit);
  return node && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) ? node : nullptr;
}

void TOvDirTree21::HandleKeyUp(WORD key, TShiftState shift) {
  if (TreeView_GetEditControl(Handle())) return;
  HTREEITEM selected = folders_.Selected();
  if (!selected) return;
  bool ctrl = (shift & ssCtrl) != 0, alt = (shift & ssAlt) != 0;
  switch (key) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_BACK:
      ChooseNode(selected);
      break;
    case 'N': if (ctrl) NewFolder(); break;
    case 'C': if (ctrl) MarkFolder(TTransferMode::tmCopy); break;
    case 'X': if (ctrl) MarkFolder(TTransferMode::tmMove); break;
    case 'V': if (ctrl) PasteFolder(); break;
    case VK_RETURN: if (alt) ShowProperties(); break;
    case VK_F2: StartEditing(); break;
    case VK_F5: {
      std::wstring path = selectedPath_;
      RebuildTree();
      SelectPath(path);
      if (fileList_) fileList_->UpdateFileList();
      break;
    }
    default: break;
  }
}

// ---------------------------------------------------------------------------------------------
// In-place rename

bool TOvDirTree21::BeginLabelEdit(HTREEITEM node) {
  bool allowed = !readOnly_ && folders_.Level(node) >= 2;
  if (!allowed) editAfterNewFolder_ = false;
  return allowed;
}

void TOvDirTree21::EndLabelEdit(HTREEITEM node, const wchar_t* text) {
  bool afterNewFolder = editAfterNewFolder_;
  editAfterNewFolder_ = false;
  if (!text) return;  // the edit was cancelled
  std::wstring typed = text;
  if (typed.empty() || dirtree::HasForbiddenFolderChar(typed) || !filelist::IsValidFileName(typed)) {
    MessageBeep(MB_ICONHAND);
    if (!typed.empty()) ShowMessage(Texts().MsgInvalidDirectoryName + L"\r" + typed, MB_OK | MB_ICONERROR);
    return;
  }
  editAfterNewFolder_ = afterNewFolder;
  RenameFolder(node, typed);
  editAfterNewFolder_ = false;
}

void TOvDirTree21::RenameFolder(HTREEITEM node, const std::wstring& typed) {
  WaitCursor wait;
  std::wstring oldPath = bv::ExcludeTrailingBackslash(folders_.NodePath(node));
  std::wstring oldName = filelist::NameOf(oldPath);
  if (oldPath.empty() || typed == oldName) return;
  std::wstring newPath = filelist::FolderOf(oldPath) + typed;
  if (!editAfterNewFolder_) {
    const DirTreeTexts& t = Texts();
    std::wstring question = t.MsgRenameQuestion + L"\r\r    " + t.MsgFrom + oldName + L"\r    " + t.MsgTo + typed;
    if (ShowMessage(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  }
  if (!FileOperations::RunFileOperation(OwnerWindow(), FO_RENAME, {oldPath}, {newPath})) return;
  RebuildTree();
  SelectPath(newPath);
  ShowInList(newPath, false);
}

void TOvDirTree21::StartEditing() {
  HTREEITEM selected = folders_.Selected();
  if (!selected || readOnly_ || folders_.Level(selected) < 2) return;
  SetFocus();
  TreeView_EditLabel(Handle(), selected);
}

// ---------------------------------------------------------------------------------------------
// Folder operations

void TOvDirTree21::NewFolder(HTREEITEM node, const std::wstring& name) {
  if (!node) node = folders_.Selected();
  if (!node) return;
  const DirTreeTexts& t = Texts();
  if (folders_.Level(node) == 0) {
    ShowMessage(t.MsgErrorPrefix + t.MsgCantAddDrives, MB_OK | MB_ICONERROR);
    return;
  }
  std::wstring folderName = name.empty() ? t.MsgNewFolder : name;
  if (dirtree::HasForbiddenFolderChar(folderName) || !filelist::IsValidFileName(folderName)) {
    MessageBeep(MB_ICONHAND);
    ShowMessage(t.MsgInvalidFolderName, MB_OK | MB_ICONERROR);
    return;
  }
  std::wstring path = dirtree::JoinNodePath(folders_.NodePath(node), folderName);
  if (!CreateDirectoryW(path.c_str(), nullptr)) return;  // it exists already: nothing changes
  RebuildTree();
  SelectPath(path);
  if (folderName == t.MsgNewFolder) {
    editAfterNewFolder_ = true;
    StartEditing();
  }
}

void TOvDirTree21::DeleteFolder() {
  HTREEITEM selected = folders_.Selected();
  if (!selected || folders_.Level(selected) < 2) return;
  WaitCursor wait;
  std::wstring path = folders_.NodePath(selected);
  if (!FolderExists(path)) {
    MessageBeep(MB_ICONHAND);
    ShowMessage(path + Texts().MsgNotFound, MB_OK | MB_ICONERROR);
    return;
  }
  // The platform refuses to remove the process's current folder or one above it, and the linked
  // list makes the folder it shows the current one: the parent is made current for the deletion,
  // and the folder before comes back if the deletion does not happen.
  const std::wstring current = FileOperations::CurrentDirectory();
  const bool leave = !current.empty() && filelist::IsSameOrInside(path, current);
  HTREEITEM parent = folders_.Parent(selected);
  if (leave) SetCurrentDirectoryW(folders_.NodePath(parent).c_str());
  if (!FileOperations::RunFileOperation(OwnerWindow(), FO_DELETE, {path}, {})) {
    if (leave) SetCurrentDirectoryW(current.c_str());
    return;
  }
  TreeView_SelectItem(Handle(), parent);
  TreeView_DeleteItem(Handle(), selected);
  std::wstring parentPath = folders_.NodePath(parent);
  selectedPath_ = parentPath;
  ShowInList(parentPath, false);
}

void TOvDirTree21::MarkFolder(TTransferMode mode) {
  HTREEITEM selected = folders_.Selected();
  if (!selected || folders_.Level(selected) < 2) return;
  dragSourcePath_ = folders_.NodePath(selected);
  operations_.MarkForTransfer({dragSourcePath_}, mode);
  pendingFolderPaste_ = true;
}

void TOvDirTree21::PasteFolder() {
  HTREEITEM selected = folders_.Selected();
  bool pending = pendingFolderPaste_;
  pendingFolderPaste_ = false;
  if (!pending || !selected || dragSourcePath_.empty() || folders_.Level(selected) < 1) return;
  std::wstring target = bv::IncludeTrailingBackslash(folders_.NodePath(selected));
  if (filelist::IsSameOrInside(dragSourcePath_, target)) {
    ShowMessage(L"\"" + filelist::NameOf(dragSourcePath_) + L"\" " + TextsOf(language_).MsgIntoItself,
                MB_OK | MB_ICONERROR);
    return;
  }
  UINT operation = FileOperations::TransferMode() == TTransferMode::tmMove ? FO_MOVE : FO_COPY;
  if (!FileOperations::RunFileOperation(OwnerWindow(), operation, {dragSourcePath_},
                                        {target + filelist::NameOf(dragSourcePath_)})) {
    ShowMessage(Texts().MsgOperationFailed, MB_OK | MB_ICONERROR);
    return;
  }
  RebuildTree();
  SelectPath(target);
}

void TOvDirTree21::ShowTreeSize() {
  HTREEITEM selected = folders_.Selected();
  int level = folders_.Level(selected);
  if (level < 1) return;
  std::wstring path = folders_.NodePath(selected);
  dirtree::FolderSize size;
  {
    WaitCursor wait;
    FindFileEnumerator enumerator;
    GetAsyncKeyState(VK_ESCAPE);  // forget an earlier press
    dirtree::FolderSizeOptions options;
    options.cancelled = [] { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; };
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    size = dirtree::WalkFolderSize(path, enumerator, options);
    SetErrorMode(previous);
  }
  if (size.cancelled) return;
  const DirTreeTexts& t = Texts();
  std::wstring headline = level == 1 ? t.MsgDrive + path : t.MsgFolderQuote + filelist::NameOf(path) + L"\"";
  std::wstring thousands = LocaleText(LOCALE_STHOUSAND, L","), decimal = LocaleText(LOCALE_SDECIMAL, L".");
  // A walk that met folders too deep to enter reports a lower bound.
  std::wstring bytes = (size.depthLimited ? L"> " : L"") + dirtree::FormatGroupedNumber(size.bytes, 0, thousands, decimal);
  std::wstring text = L"===== " + t.MsgTreeSize + L" =====\r\r" + headline + L"\r" + t.MsgAllSubFolders + L"\r =  " +
                      bytes + L" Bytes\r     (i.e. " + dirtree::TreeSizeUnitsText(size.bytes, thousands, decimal) + L" )";
  ShowMessage(text, MB_OK | MB_ICONINFORMATION);
}

void TOvDirTree21::ShowFolderContents() {
  HTREEITEM selected = folders_.Selected();
  int level = folders_.Level(selected);
  if (level < 1 || !HandleAllocated()) return;
  std::wstring path = folders_.NodePath(selected);
  contentsReturnPath_ = selectedPath_.empty() || selectedPath_ == dirtree::kRootPath ? path : selectedPath_;
  contents_.reset();
  TreeView_Expand(Handle(), folders_.Root(), TVE_COLLAPSE);
  // A drive: " X:\ "; a folder: " ..\name ".
  std::wstring where = level == 1 ? L"\" " + path + L" \""
                                  : L"\" ..\\" + filelist::NameOf(bv::ExcludeTrailingBackslash(path)) + L" \"";
  contents_.reset(new TOvDirTree21Contents(nullptr, path, L"Files in " + where));
  contents_->SetColor(Color());
  contents_->Font()->SetColor(Font()->Color());
  contents_->OnOk = [this](const std::wstring& file) { FolderContentsOk(file); };
  contents_->OnOpenFile = [this](const std::wstring& file) { OpenFromFolderContents(file); };
  contents_->SetParent(this);
  AlignControls();
  ::SetFocus(contents_->ListWindow());
}

void TOvDirTree21::FolderContentsOk(const std::wstring& file) {
  selectedFile_ = file;
  OnFileChange(this, selectedFile_);
  // The window is freed once the button's message is over.
  if (contents_) ShowWindow(contents_->Handle(), SW_HIDE);
  PostMessageW(Handle(), CM_RELEASE, 0, 0);
  SetFocus();
  SelectPath(contentsReturnPath_);
}

void TOvDirTree21::OpenFromFolderContents(const std::wstring& file) {
  if (!contents_) return;
  HWND window = contents_->Handle();
  ShowWindow(window, SW_HIDE);
  operations_.ShellOpen(L"Open", file, L"", SW_SHOWNORMAL, filelist::FolderOf(file));
  if (contents_ && IsWindow(window)) ShowWindow(window, SW_SHOW);
}

void TOvDirTree21::ShowProperties() {
  if (folders_.Level(folders_.Selected()) < 1) return;
  operations_.ShowProperties(folders_.NodePath(folders_.Selected()));
}

void TOvDirTree21::ConnectNetworkDrive() {
  if (networkDriveDialog) {
    networkDriveDialog(OwnerWindow(), true);
    return;
  }
  TNetPathDlg dialog(this);
  if (dialog.MapNetworkDrive() != NO_ERROR) return;
  // The new drive is shown in the tree and in the linked list.
  RebuildTree();
  std::wstring drive = bv::IncludeTrailingBackslash(dialog.DriveLetter());
  SelectPath(drive);
  if (fileList_) fileList_->SetDirectory(drive);
}

void TOvDirTree21::DisconnectNetworkDrive() {
  if (networkDriveDialog) {
    networkDriveDialog(OwnerWindow(), false);
    return;
  }
  if (!TNetPathDlg::DisconnectNetworkDrive()) return;
  RebuildTree();
  ChooseNode(folders_.Root());
}

TOvDirTree21PopUp& TOvDirTree21::PopUpMenu() {
  if (!popUp_) popUp_ = std::make_unique<TOvDirTree21PopUp>(*this);
  return *popUp_;
}

void TOvDirTree21::ShowContextMenu(POINT screen) { PopUpMenu().Popup(Handle(), screen); }

// ---------------------------------------------------------------------------------------------
// Drag and drop

void TOvDirTree21::BeginDrag(HTREEITEM node) {
  if (!dragDropEnabled_ || folders_.Level(node) < 2) return;
  dragNode_ = node;
  dragSourcePath_ = folders_.NodePath(node);
  dragMode_ = (GetKeyState(VK_CONTROL) & 0x8000) ? TTransferMode::tmCopy : TTransferMode::tmMove;
  TreeView_SelectItem(Handle(), node);
  dragging_ = true;
  SetCapture(Handle());
}

TOvDirTree21* TOvDirTree21::TreeAt(POINT screen, HTREEITEM& node) {
  node = nullptr;
  HWND window = WindowFromPoint(screen);
  auto* tree = dynamic_cast<TOvDirTree21*>(TWinControl::FromHandle(window));
  if (!tree) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = screen;
  ::ScreenToClient(window, &hit.pt);
  HTREEITEM found = TreeView_HitTest(window, &hit);
  if (found && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) node = found;
  return tree;
}

void TOvDirTree21::TrackDrag(bool drop) {
  POINT cursor;
  GetCursorPos(&cursor);
  HTREEITEM node = nullptr;
  TOvDirTree21* target = TreeAt(cursor, node);
  bool acceptable = target && node && target->dragDropEnabled_ && !(target == this && node == dragNode_);
  TreeView_SelectDropTarget(Handle(), nullptr);
  if (target && target != this) TreeView_SelectDropTarget(target->Handle(), nullptr);
  if (!drop) {
    if (acceptable) TreeView_SelectDropTarget(target->Handle(), node);
    ::SetCursor(LoadCursorW(nullptr, acceptable ? IDC_ARROW : IDC_NO));
    return;
  }
  dragging_ = false;
  dragNode_ = nullptr;
  ReleaseCapture();
  if (acceptable) target->DropFolder(*this, node, dragMode_);
}

void TOvDirTree21::DropFolder(TOvDirTree21& source, HTREEITEM node, TTransferMode mode) {
  if (readOnly_ || !node || source.dragSourcePath_.empty() || folders_.Level(node) < 1) return;
  std::wstring from = source.dragSourcePath_;
  std::wstring target = bv::IncludeTrailingBackslash(folders_.NodePath(node));
  if (filelist::IsSameOrInside(from, target)) {
    ShowMessage(L"\"" + filelist::NameOf(from) + L"\" " + TextsOf(language_).MsgIntoItself, MB_OK | MB_ICONERROR);
    return;
  }
  if (!FileOperations::RunFileOperation(OwnerWindow(), mode == TTransferMode::tmMove ? FO_MOVE : FO_COPY, {from},
                                        {target + filelist::NameOf(from)}))
    ShowMessage(Texts().MsgOperationFailed, MB_OK | MB_ICONERROR);
  if (Application) Application->ProcessMessages();
  RebuildTree();
  SelectPath(target);
  ShowInList(target, true);
  if (&source != this) source.RebuildTree();
}

void TOvDirTree21::DropListFiles(HTREEITEM node, TTransferMode mode) {
  if (readOnly_ || !fileList_ || !node || folders_.Level(node) < 1 || !fileList_->HandleAllocated()) return;
  std::vector<std::wstring> files;
  HWND list = fileList_->Handle();
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED)) {
    const TFileInfo* entry = fileList_->Model().Entry(i);
    if (entry && entry->EntryKind == L"file") files.push_back(entry->EntryPath());
  }
  if (files.empty()) {
    ShowMessage(TextsOf(language_).MsgNoFiles, MB_OK | MB_ICONWARNING);
    return;
  }
  std::wstring target = bv::IncludeTrailingBackslash(folders_.NodePath(node));
  for (const std::wstring& file : files)
    FileOperations::RunFileOperation(OwnerWindow(), mode == TTransferMode::tmMove ? FO_MOVE : FO_COPY, {file},
                                     {target + filelist::NameOf(file)});
  if (Application) Application->ProcessMessages();
  RebuildTree();
  SelectPath(target);
  ShowInList(target, true);
}
