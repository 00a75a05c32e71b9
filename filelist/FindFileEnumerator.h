// Folder enumeration for the file-list model through the platform's find-file functions.
#pragma once

#include "filelist/FileListModel.h"

class FindFileEnumerator : public DirectoryEnumerator {
 public:
  bool Enumerate(const std::wstring& pattern, const std::function<void(const FoundItem&)>& sink) override;
};
