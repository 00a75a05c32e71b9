// The file operations that the file list's keys, its context menu and dropped files start:
// marking files for copy or move (a file list on the clipboard), pasting or sending them into a
// folder, deleting to the recycle bin, renaming, creating a new folder, viewing a file, the
// shell's search window and properties sheet, names and contents on the clipboard and shortcuts. Every change on disk goes
// through the shell's file operation with undo allowed, so the shell asks its own questions.
// The list hands in paths it took from its selection before anything is asked.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/FileListTexts.h"

enum class TTransferMode { tmCopy, tmMove };

class FileOperations {
 public:
  struct Host {
    std::function<HWND()> owner;                                       // window that owns the shell's boxes
    std::function<void(const std::wstring&, UINT flags)> showMessage;  // a message box of the list
    std::function<const FileListTexts&()> texts;                       // texts of the list's language
  };

  explicit FileOperations(Host host);

  // Copy or move, shared by every list of the process; copy at start.
  static TTransferMode TransferMode();

  // The paths marked by the last copy or cut of this list, waiting for a paste.
  const std::vector<std::wstring>& TransferList() const { return transferList_; }
  // Whether a paste has files to work on: marked here or on the clipboard.
  bool FilesToPaste() const;

  // Remembers the paths and the mode and puts the paths on the clipboard as a file list.
  void MarkForTransfer(const std::vector<std::wstring>& paths, TTransferMode mode);
  // Copies or moves the marked files (or the clipboard's) into `folder`, one shell operation a
  // file. False when there was nothing to paste.
  bool PasteInto(const std::wstring& folder);
  // Copies or moves `paths` into `folder` (with its trailing backslash), one shell operation a
  // path. A folder that would go into itself or one of its subfolders is refused with a message
  // and left where it is.
  void TransferInto(const std::vector<std::wstring>& paths, const std::wstring& folder, TTransferMode mode);
  // Files dropped on the list: they become the transfer list, and the shared mode copy.
  void TakeDroppedFiles(std::vector<std::wstring> paths);
  void ClearTransferList() { transferList_.clear(); }
  // Sends the paths to the recycle bin in one shell operation (the shell confirms).
  void Recycle(const std::vector<std::wstring>& paths);
  // Renames `from` to `to` (full paths in one folder).
  bool Rename(const std::wstring& from, const std::wstring& to);
  // Creates "New Folder" (in the list's language), or the first free "New Folder(n)", in
  // `folder`; answers its path, empty when it could not be created.
  std::wstring CreateNewFolder(const std::wstring& folder);
  // Opens a text, document, picture or web page with the program the shell has for it; other
  // files are not opened (a viewer never starts a program file).
  void View(const std::wstring& path);
  // The shell's search window for a folder.
  void OpenFindWindow(const std::wstring& folder);
  // ShellExecute with the list's error text when the shell cannot do it.
  bool ShellOpen(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters, int show,
                 const std::wstring& folder);

  // The paths as text on the clipboard, one a line.
  void PutNamesOnClipboard(const std::vector<std::wstring>& paths);
  // The file's contents on the clipboard: a picture file as a picture (decoded by the platform's
  // imaging component), rich text as rich text (and its plain text), any other file as text
  // (UTF-16 or UTF-8 by its mark, UTF-8 when valid, else the system code page). False, after a
  // message, when the file cannot be read or decoded.
  bool PutContentsOnClipboard(const std::wstring& path);
  // A shortcut to `target` in `folder` (with its trailing backslash), named after the target
  // without its extension; an existing shortcut is never replaced ("Name (2).lnk" ...). Answers
  // the shortcut's path, empty after the error message when it could not be made.
  std::wstring CreateShortcut(const std::wstring& target, const std::wstring& folder);
  // The shell's properties sheet of a file; a failure shows its text.
  void ShowProperties(const std::wstring& path);
  // The target of a shortcut file, empty when it cannot be resolved.
  static std::wstring ResolveShortcut(HWND owner, const std::wstring& path);
  // A special folder of the user (CSIDL_SENDTO, CSIDL_DESKTOPDIRECTORY ...) with its trailing
  // backslash, empty when there is none.
  static std::wstring SpecialFolder(int csidl);
  // Every path a dropped or pasted file list names.
  static std::vector<std::wstring> DroppedPaths(HDROP drop);
  // The process's current folder (as the platform names it, without a closing backslash).
  static std::wstring CurrentDirectory();

  // One shell file operation (FO_COPY, FO_MOVE, FO_DELETE, FO_RENAME) with undo allowed; true
  // when it succeeded and the user aborted nothing.
  static bool RunFileOperation(HWND owner, UINT operation, const std::vector<std::wstring>& from,
                               const std::vector<std::wstring>& to);

  // The files of the clipboard's file list, and the mode a paste of them uses: the shared mode
  // while the clipboard still holds what this process put there (its sequence number has not
  // changed since), otherwise the mode its owner asked for (copy unless it asked for a move).
  static std::vector<std::wstring> ClipboardFiles(TTransferMode* mode);

 private:
  Host host_;
  std::vector<std::wstring> transferList_;
};
