// The file list's file operations on its selection: clipboard marks, paste, recycle, permanent
// delete, new folder, view and find, send to, names and contents on the clipboard, desktop
// shortcut, properties, and files dropped on the list. See OvFilelistView28.h.
#include "filelist/OvFilelistView28.h"

#include <shlobj.h>

#include <algorithm>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "filelist/OvFilelistView28Internal.h"
#include "framework/Application.h"
#include "framework/Strings.h"

using namespace filelist::view_detail;

// ---------------------------------------------------------------------------------------------
// File operations

std::vector<TFileInfo> TOvFilelistView28::SelectedEntries() {
  std::vector<TFileInfo> entries;
  if (!HandleAllocated()) return entries;
  HWND list = Handle();
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
    if (const TFileInfo* e = model_.Entry(i)) entries.push_back(*e);
  return entries;
}

std::vector<std::wstring> TOvFilelistView28::SelectedPathsWithoutParent() {
  std::vector<std::wstring> paths;
  for (int i = 0; i < model_.EntryCount(); ++i)
    if (IsParentEntry(*model_.Entry(i))) SelectItem(i, false);
  for (const TFileInfo& e : SelectedEntries()) paths.push_back(e.EntryPath());
  return paths;
}

bool TOvFilelistView28::PermanentDelete() {
  // The selection is taken before the first question: a rebuild while a question is open
  // cannot redirect the delete to another file.
  std::vector<TFileInfo> targets = SelectedEntries();
  if (targets.empty()) return false;
  for (const TFileInfo& t : targets) {
    if (t.EntryKind == L"dir") {
      UpdateFileList();
      return false;
    }
    std::wstring question = L"Are you sure you want to permanently delete file\r  \"" + CaptionOf(t) + L"\"?";
    int answer = Application ? Application->MessageDlg(question, Application->Title(), MB_YESNO | MB_ICONQUESTION)
                             : MessageBoxW(Handle(), question.c_str(), L"", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES && t.EntryKind == L"file") DeleteFileW(t.EntryPath().c_str());
    for (int i = 0; i < model_.EntryCount(); ++i)
      if (model_.Entry(i)->EntryPath() == t.EntryPath()) SelectItem(i, false);
  }
  UpdateFileList();
  return true;
}

void TOvFilelistView28::RecycleSelected() {
  WaitCursor wait;
  if (IsMyComputer(directory_) || !SetCurrentDirectoryW(directory_.c_str())) return;
  operations_.Recycle(SelectedPathsWithoutParent());
  UpdateFileList();
}

void TOvFilelistView28::MarkForTransfer(TTransferMode mode) {
  for (const TFileInfo& e : SelectedEntries())
    if (e.EntryKind == L"drv") return;
  operations_.MarkForTransfer(SelectedPathsWithoutParent(), mode);
}

void TOvFilelistView28::PasteFiles() {
  WaitCursor wait;
  if (IsMyComputer(directory_) || !SetCurrentDirectoryW(directory_.c_str())) return;
  if (operations_.PasteInto(bv::IncludeTrailingBackslash(directory_))) UpdateFileList();
}

void TOvFilelistView28::CreateNewFolder() {
  if (IsMyComputer(directory_)) return;
  std::wstring path = operations_.CreateNewFolder(bv::IncludeTrailingBackslash(directory_));
  if (path.empty()) return;
  UpdateFileList();
  if (!HandleAllocated()) return;
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
  for (int i = 0; i < model_.EntryCount(); ++i) {
    if (model_.Entry(i)->EntryPath() != path) continue;
    // Name it at once; the list's rename rules decide whether editing may start.
    SelectItem(i, true);
    EditLabel(i);
    break;
  }
}

void TOvFilelistView28::ViewSelected() {
  int index = SelectedIndex();
  if (index < 0 || model_.Entry(index)->EntryKind != L"file") return;
  operations_.View(model_.Entry(index)->EntryPath());
}

void TOvFilelistView28::OpenFindWindow() {
  if (Focused()) operations_.OpenFindWindow(directory_);
}

void TOvFilelistView28::SelectAll() {
  if (!HandleAllocated() || model_.EntryCount() == 0) return;
  // A single-selection list keeps the last entry, as selecting one after the other would.
  if (multiSelect_) {
    ListView_SetItemState(Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
  } else {
    SelectItem(model_.EntryCount() - 1, true);
  }
}

// ---------------------------------------------------------------------------------------------
// Send to, clipboard, shortcut, properties and dropped files

namespace {

std::wstring desktopFolderOverride;
TOvFilelistView28::FolderPicker folderPicker;

bool AnyDrive(const std::vector<TFileInfo>& entries) {
  return std::any_of(entries.begin(), entries.end(), [](const TFileInfo& e) { return e.EntryKind == L"drv"; });
}

}  // namespace

void TOvFilelistView28::OverrideDesktopFolder(const std::wstring& folder) { desktopFolderOverride = folder; }

void TOvFilelistView28::CopySelectedTo(const std::wstring& folder) { CopyPathsTo(SelectedPathsWithoutParent(), folder); }

void TOvFilelistView28::CopyPathsTo(const std::vector<std::wstring>& paths, const std::wstring& folder) {
  if (IsMyComputer(directory_) || folder.empty() || !SetCurrentDirectoryW(directory_.c_str())) return;
  WaitCursor wait;
  operations_.ClearTransferList();
  operations_.TransferInto(paths, bv::IncludeTrailingBackslash(folder), TTransferMode::tmCopy);
  operations_.ClearTransferList();
}

void TOvFilelistView28::SetFolderPicker(FolderPicker picker) { folderPicker = std::move(picker); }

void TOvFilelistView28::SendToAnyFolder() {
  if (SelCount() == 0 || !folderPicker) return;
  // The files are the ones selected when the picker opened, whatever happens to the list meanwhile.
  std::vector<std::wstring> paths = SelectedPathsWithoutParent();
  std::wstring folder = IsMyComputer(directory_) ? std::wstring() : directory_;
  if (folderPicker(*this, Texts().MsgSpecifyDir, folder) && !folder.empty()) CopyPathsTo(paths, folder);
}

void TOvFilelistView28::SendToTarget(const std::wstring& target) {
  // The selection is taken before the drive check may ask anything.
  std::vector<TFileInfo> entries = SelectedEntries();
  if (entries.empty() || AnyDrive(entries)) return;
  std::vector<std::wstring> paths = SelectedPathsWithoutParent();
  std::wstring resolved = target;
  if (bv::SameText(filelist::ExtensionOf(filelist::NameOf(target)), L".lnk")) {
    resolved = FileOperations::ResolveShortcut(OwnerWindow(), target);
  } else if (!FolderExists(target)) {
    return;
  }
  if (resolved.empty()) return;
  if (resolved.size() >= 3 && resolved[1] == L':' && GetDriveTypeW(resolved.substr(0, 3).c_str()) == DRIVE_REMOVABLE &&
      !DriveReady(resolved[0]))
    return;
  if (FolderExists(resolved)) {
    CopyPathsTo(paths, resolved);
    return;
  }
  // A program receives the files, each path in quotes so that spaces do not split it.
  std::wstring arguments;
  for (const std::wstring& path : paths) {
    if (!arguments.empty()) arguments += L' ';
    arguments += filelist::QuotedArgument(path);
  }
  if (!arguments.empty()) operations_.ShellOpen(L"Open", resolved, arguments, SW_SHOW, filelist::FolderOf(paths[0]));
}

void TOvFilelistView28::CopyContentsToClipboard() {
  std::vector<TFileInfo> entries = SelectedEntries();
  if (entries.size() != 1 || entries[0].EntryKind != L"file") return;
  WaitCursor wait;
  operations_.PutContentsOnClipboard(entries[0].EntryPath());
}

void TOvFilelistView28::CopyNamesToClipboard() {
  std::vector<std::wstring> paths = SelectedPathsWithoutParent();
  operations_.PutNamesOnClipboard(paths);
}

std::wstring TOvFilelistView28::CreateDesktopShortcut() {
  std::vector<TFileInfo> entries = SelectedEntries();
  if (entries.empty()) {
    ShowMessageBox(Texts().MsgNoFiles, MB_OK | MB_ICONERROR);
    return {};
  }
  if (AnyDrive(entries) || IsParentEntry(entries[0])) return {};
  std::wstring desktop = desktopFolderOverride.empty() ? FileOperations::SpecialFolder(CSIDL_DESKTOPDIRECTORY)
                                                       : bv::IncludeTrailingBackslash(desktopFolderOverride);
  if (desktop.empty()) {
    ShowMessageBox(Texts().MsgLinkSaveFailed, MB_OK | MB_ICONERROR);
    return {};
  }
  return operations_.CreateShortcut(entries[0].EntryPath(), desktop);
}

void TOvFilelistView28::ShowProperties() {
  std::vector<TFileInfo> entries = SelectedEntries();
  if (entries.empty() || AnyDrive(entries)) return;
  operations_.ShowProperties(entries[0].EntryPath());
}

void TOvFilelistView28::AcceptDroppedFiles(std::vector<std::wstring> paths) {
  if (paths.empty()) return;
  operations_.TakeDroppedFiles(std::move(paths));
  PasteFiles();
}
