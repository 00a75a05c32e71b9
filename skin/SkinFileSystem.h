// The few file services that skin loading needs: does a file or folder exist, read a whole file,
// list a folder, and where the program lives. The program uses the platform's implementation;
// tests and fuzzers give the loader folders held in memory. Paths use "\" as separator. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SkinFolderEntry {
  std::wstring name;
  bool isFolder = false;
};

class SkinFileSystem {
 public:
  virtual ~SkinFileSystem() = default;
  virtual bool FileExists(const std::wstring& path) const = 0;
  virtual bool FolderExists(const std::wstring& path) const = 0;
  // The file's bytes, or nullopt when it cannot be read.
  virtual std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) const = 0;
  // The entries of a folder ("." and ".." included when the platform lists them).
  virtual std::vector<SkinFolderEntry> ListFolder(const std::wstring& path) const = 0;
  // The program's own folder with a trailing separator.
  virtual std::wstring ProgramFolder() const = 0;
};
