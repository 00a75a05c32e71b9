// TBrowseForFolder: a component around the platform's modal folder picker. It opens on
// FolderName, shows Caption above the tree and StatusText in the status area, and answers the
// chosen folder's path in FolderName.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "folderpicker/BrowseFlags.h"
#include "framework/Component.h"
#include "framework/Handles.h"

class TBrowseForFolder : public TComponent {
 public:
  explicit TBrowseForFolder(TComponent* owner);
  ~TBrowseForFolder() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Shows the picker modally over the owner form; true when the user confirmed a choice.
  // Raises EInvalidCast when the owner is not a form.
  bool Execute();
  // The file-system path of a shell item, of any length; empty for an item outside the file
  // system.
  static std::wstring FileSystemPath(LPCITEMIDLIST item);

  const std::wstring& DisplayName() const { return displayName_; }
  const std::wstring& StatusText() const { return statusText_; }
  void SetStatusText(const std::wstring& value) { statusText_ = value; }
  const std::wstring& FolderName() const { return folderName_; }
  void SetFolderName(const std::wstring& value) { folderName_ = value; }
  TBrowseFlags Flags() const { return browse_flags::FlagsOf(request_.ulFlags); }
  void SetFlags(TBrowseFlags flags) { request_.ulFlags = browse_flags::ApplyFlags(request_.ulFlags, flags); }
  TBrowseLocation Root() const { return root_; }
  void SetRoot(TBrowseLocation root) { root_ = root; }
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value) { caption_ = value; }
  // The whole flag word of the request (the seven option bits, plus BIF_VALIDATE after a run).
  UINT FlagWord() const { return request_.ulFlags; }

  // The caller's root for bl_CUSTOM (borrowed; null by default).
  PCIDLIST_ABSOLUTE CustomRoot = nullptr;

  // The picker's callback; public so tests can drive it with a window of their own.
  static int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM argument, LPARAM data);

 private:
  struct CallbackData {
    std::wstring folderName;
    std::wstring statusText;
  };

  std::wstring displayName_;
  std::wstring statusText_ = L"Plase select folder";
  std::wstring folderName_ = L"C:\\";
  std::wstring caption_ = L"Select Folder";
  TBrowseLocation root_ = TBrowseLocation::bl_STANDART;
  BROWSEINFOW request_{};
  UniqueItemIdList ownedRoot_;  // the special folder looked up for the request's root
};
