// The settings file: one INI file read and written through the platform's private-profile
// functions. A name without a folder lives in the per-user settings folder (the roaming
// application data, in a folder named after the program), which a normal user can write; a
// file of that name that an earlier installation left in the Windows folder is read until the
// per-user file exists. Values that begin and end with a quote get one more pair of double
// quotes, so that every value reads back as it was written.
#pragma once

#include <string>

namespace settings_file {

// The per-user settings folder (created when missing), or the folder set by SetFolder.
std::wstring Folder();
// Puts the settings files of this process into another folder (a portable installation, tests).
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

}  // namespace settings_file

// The settings-file object: exists while one save or restore runs.
class TSettingsFile {
 public:
  // `name` as the form placement holds it; reads fall back to the Windows folder's file of the
  // same name until the per-user file exists.
  explicit TSettingsFile(const std::wstring& name);
  const std::wstring& FileName() const { return path_; }

  // Values are read into 2048 characters: longer values are cut.
  std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const;
  // Raises "Unable to write to <file>" when the platform refuses the write.
  void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
  void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
  void EraseSection(const std::wstring& section);

 private:
  std::wstring path_;      // where writes go
  std::wstring readPath_;  // where reads come from (the old file until the new one exists)
};
