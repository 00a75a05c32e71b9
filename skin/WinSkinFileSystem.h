// The platform's files for skin loading: attributes, whole-file reads, folder listing and the
// program's own folder.
#pragma once

#include "skin/SkinFileSystem.h"

class WinSkinFileSystem : public SkinFileSystem {
 public:
  bool FileExists(const std::wstring& path) const override;
  bool FolderExists(const std::wstring& path) const override;
  std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) const override;
  std::vector<SkinFolderEntry> ListFolder(const std::wstring& path) const override;
  std::wstring ProgramFolder() const override;
};
