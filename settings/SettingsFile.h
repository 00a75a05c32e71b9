// The settings file: one INI file read and written through the platform's private-profile
// functions. A name without a folder lives in the per-user settings folder (the roaming
// application data, folder "Brenvale" whatever the program file is called), which a normal user
// can write; a file of that name that an earlier installation left in the Windows folder is read
// until the per-user file exists. Values that begin and end with a quote get one more pair of
// double quotes, so that every value reads back as it was written.
//
// Writes never touch the file itself: the first one copies the file to a new file beside it,
// the writes go to that copy, and Commit puts the copy in the file's place in one step once
// every value of it reads back as expected. A save that fails or stops half-way leaves the
// previous file as it was, and of two saves at the same moment (two programs, two threads) the
// file ends up with the complete set of one of them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace settings_file {

// The per-user settings folder (created when missing), or the folder set by SetFolder.
std::wstring Folder();
// Puts the settings files of this process into another folder (a portable installation, tests).
// A relative folder is taken from the current folder now, once: the program changes its current
// folder later. "" gives the per-user folder back.
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

// Tests: called with the path of a save's finished copy just before the copy is checked and put
// in place (a test cuts it short, or throws to stand for a program that stops there). An empty
// function removes the hook.
void SetBeforeReplaceHook(std::function<void(const std::wstring& copyPath)> hook);

}  // namespace settings_file

// The settings-file object: exists while one save or restore runs.
class TSettingsFile {
 public:
  // `name` as the form placement holds it; reads fall back to the Windows folder's file of the
  // same name until the per-user file exists.
  explicit TSettingsFile(const std::wstring& name);
  TSettingsFile(const TSettingsFile&) = delete;
  TSettingsFile& operator=(const TSettingsFile&) = delete;
  // Writes that were not committed are dropped with their copy: the file stays as it was.
  ~TSettingsFile();
  const std::wstring& FileName() const { return path_; }

  // Values are read into 2048 characters: longer values are cut. Reads see the writes made so
  // far, committed or not.
  std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const;
  // Raises "Unable to write to <file>" when the platform refuses the write.
  void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
  void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
  void EraseSection(const std::wstring& section);
  // Puts every write since the last commit into the file in one step. Raises "Unable to write
  // to <file>" and leaves the file as it was when the copy does not hold everything it should,
  // or the file cannot be replaced (read-only, locked). Does nothing when nothing was written.
  void Commit();

 private:
  // A value the copy must hold, as it reads back, under its section and key.
  struct Expected {
    std::wstring section, key, value;
  };
  // By upper-case section and key: the platform compares names without regard to case.
  using Values = std::map<std::pair<std::wstring, std::wstring>, Expected>;

  void PrepareCopy();
  void DiscardCopy();
  [[noreturn]] void Fail() const;
  // Every value of `path`, as the platform reads it.
  static Values ReadAll(const std::wstring& path);

  std::wstring path_;        // the file
  std::wstring readPath_;    // where reads come from: the file, the old file, or the copy
  std::wstring sourcePath_;  // where reads came from before the copy was made
  std::wstring copyPath_;    // the copy the writes go to, once the first write made it
  Values expected_;          // what the copy must hold before it replaces the file
};
