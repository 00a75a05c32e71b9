// Helpers of the window tests: temporary folders of files, message pumping, and the texts the
// error display recorded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

std::vector<std::wstring>& RecordedErrors();

// Handles waiting messages for about `milliseconds`.
void Pump(int milliseconds = 50);

// A new empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  std::wstring File(const std::wstring& name) const { return path_ + name; }
  // Creates a file with the given content (and attributes, when not 0).
  void Create(const std::wstring& name, const std::string& content = "x", DWORD attributes = 0) const;
  bool Exists(const std::wstring& name) const;
  // The names in the folder, sorted, without "." and "..".
  std::vector<std::wstring> Names() const;

 private:
  std::wstring path_;
};

// Sets the process's current directory for the scope.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::wstring& path);
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;
  ~CurrentDirectoryScope();

 private:
  std::wstring previous_;
};

}  // namespace wintest
