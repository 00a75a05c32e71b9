// Helpers shared by the file list's source files (OvFilelistView28*.cpp); not for other users.
#pragma once

#include <windows.h>

#include <string>

#include "filelist/OvFilelistView28.h"
#include "framework/Handles.h"
#include "framework/Strings.h"
#include "filelist/WaitCursor.h"

namespace filelist::view_detail {

inline bool IsMyComputer(const std::wstring& directory) { return bv::SameText(directory, TOvFilelistView28::kMyComputer); }

inline bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool PathExists(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
  return static_cast<bool>(find);
}

using ::WaitCursor;

// The ".." entry, known by its name: its caption is whatever ParentDirCaption says, and a file
// may carry the same text as its name.
inline bool IsParentEntry(const TFileInfo& entry) { return entry.EntryKind == L"dir" && entry.EntryName == L".."; }

}  // namespace filelist::view_detail

class TOvFilelistView28::DrawingHold {
 public:
  explicit DrawingHold(TOvFilelistView28& list) : list_(list) { list_.HoldDrawing(); }
  DrawingHold(const DrawingHold&) = delete;
  DrawingHold& operator=(const DrawingHold&) = delete;
  ~DrawingHold() { list_.ResumeDrawing(); }

 private:
  TOvFilelistView28& list_;
};
