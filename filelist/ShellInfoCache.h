// The shell's answers for file-list rows (icon index in the system image lists, type name), kept
// for the life of the process: asked once per extension, and once per file only for types whose
// picture is the file's own (programs, icons, shortcuts, and types whose registered icon is "%1").
// Folders are asked once. The type names it hands out stay valid until the process ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

struct ShellAnswer {
  int iconIndex = 0;
  std::wstring_view typeName;
};

class ShellInfoCache {
 public:
  // The cache every file list of the process shares.
  static ShellInfoCache& Shared();

  // The answer for the file or folder at `path` (its name is the part after the last backslash).
  ShellAnswer Lookup(const std::wstring& path, bool folder);
  // Whether a file of that extension (with the dot) has a picture of its own.
  bool OwnIcon(const std::wstring& extension);
  // How often the shell was asked, for tests of what is cached.
  int Queries() const { return queries_; }

 private:
  std::optional<ShellAnswer> Ask(const std::wstring& path);
  std::wstring_view Intern(const std::wstring& text);

  std::unordered_map<std::wstring, ShellAnswer> byExtension_;  // "" for no extension; "\\" for folders
  std::unordered_map<std::wstring, bool> ownIcon_;
  std::unordered_set<std::wstring> typeNames_;
  int queries_ = 0;
};
