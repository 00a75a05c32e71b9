// The settings file: one INI file read and written through the platform's private-profile
// functions. A name without a folder lives in the per-user settings folder (the roaming
// application data, folder "Brenvale"), which a normal user can write; a file of that name that
// an earlier installation left in the Windows folder is read until the per-user file exists.
// Values that begin and end with a quote get one more pair of double quotes, so that every value
// reads back as it was written. A save goes to a copy of the file in the same folder, which
// replaces the file in one step once every value has been written and read back: a failed or
// interrupted save leaves the previous file as it was, and of two programs saving at once the
// file ends up with the complete set of one of them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace settings_file {

// The per-user settings folder (created when missing), or the folder set by SetFolder.
std::wstring Folder();
// Puts the settings files of this process into another folder (a portable installation, tests);
// a relative folder is taken from the current folder now, once. "" restores the per-user folder.
void SetFolder(const std::wstring& folder);
// The program's file name without folder and extension ("Brenvale").
std::wstring ProgramBaseName();
// The full path of a settings file: `name` when it has a folder part, else in Folder().
std::wstring PathOf(const std::wstring& name);

// The value as written: one more pair of double quotes around a value that begins and ends with
// a double quote or with a single quote.
std::wstring Quoted(const std::wstring& value);
// Integer text of a settings value: decimal, "0x"/"0X" hexadecimal; `fallback` otherwise.
int IntegerValue(const std::wstring& text, int fallback);

// Tests: called with the path of a save's finished copy just before it is checked and replaces
// the file (a test cuts the copy short, or throws to stand for a program that stops there).
void SetBeforeReplaceHook(std::function<void(const std::wstring& copyPath)> hook);

}  // namespace settings_file

// The settings-file object: exists while one save or restore runs.
class TSettingsFile {
 public:
  // kImmediate: every write goes to the file at once. kOnCommit: writes go to a copy of the
  // file that Commit puts in its place; without Commit the file stays as it was.
  enum class Writes { kImmediate, kOnCommit };
  // `name` as the form placement holds it; reads fall back to the Windows folder's file of the
  // same name until the per-user file exists.
  explicit TSettingsFile(const std::wstring& name, Writes writes = Writes::kImmediate);
  TSettingsFile(const TSettingsFile&) = delete;
  TSettingsFile& operator=(const TSettingsFile&) = delete;
  ~TSettingsFile();
  const std::wstring& FileName() const { return path_; }

  // Values are read into 2048 characters: longer values are cut.
  std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const;
  // Raises "Unable to write to <file>" when the platform refuses the write.
  void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
  void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
  void EraseSection(const std::wstring& section);
  // kOnCommit: replaces the file with the copy once every value written reads back from the
  // copy; raises "Unable to write to <file>" (and leaves the file as it was) otherwise. Nothing
  // happens when nothing was written.
  void Commit();

 private:
  void PrepareCopy();
  void DiscardCopy();
  [[noreturn]] void Fail() const;

  std::wstring path_;      // the file
  std::wstring readPath_;  // where reads come from (the old file until the new one exists, or the copy)
  Writes writes_;
  std::wstring copyPath_;  // kOnCommit: the copy being written, once the first write made it
  std::wstring sourcePath_;  // where reads came from before the copy
  // The values written to the copy as they read back, by upper-case section and key.
  std::map<std::pair<std::wstring, std::wstring>, std::wstring> written_;
};
