// See SettingsFile.h.
#include "settings/SettingsFile.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <vector>

#include "framework/Exception.h"
#include "framework/Strings.h"

namespace settings_file {

namespace {

std::wstring& FolderOverride() {
  static std::wstring folder;
  return folder;
}

std::function<void(const std::wstring&)>& BeforeReplaceHook() {
  static std::function<void(const std::wstring&)> hook;
  return hook;
}

// The settings folder in the application data, whatever the program file is called: a renamed
// program keeps its settings.
constexpr const wchar_t* kFolderName = L"Brenvale";

}  // namespace

std::wstring ProgramBaseName() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  size_t slash = name.rfind(L'\\');
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

namespace {

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring Folder() {
  std::wstring folder = FolderOverride();
  if (folder.empty()) {
    wchar_t appData[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
      folder = bv::IncludeTrailingBackslash(appData) + kFolderName;
  }
  if (folder.empty()) return {};
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return bv::IncludeTrailingBackslash(folder);
}

void SetFolder(const std::wstring& folder) {
  std::wstring full = folder;
  if (!folder.empty()) {
    DWORD size = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    std::vector<wchar_t> buffer(size + 1);
    DWORD length = size ? GetFullPathNameW(folder.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr) : 0;
    if (length > 0 && length < buffer.size()) full.assign(buffer.data(), length);
  }
  FolderOverride() = full;
}

void SetBeforeReplaceHook(std::function<void(const std::wstring&)> hook) { BeforeReplaceHook() = std::move(hook); }

std::wstring PathOf(const std::wstring& name) {
  if (name.find_first_of(L"\\/:") != std::wstring::npos) return name;
  return Folder() + name;
}

std::wstring Quoted(const std::wstring& value) {
  if (value.size() >= 2 && ((value.front() == L'"' && value.back() == L'"') || (value.front() == L'\'' && value.back() == L'\'')))
    return L"\"" + value + L"\"";
  return value;
}

int IntegerValue(const std::wstring& text, int fallback) {
  std::wstring trimmed = bv::Trim(text);
  if (trimmed.size() > 2 && trimmed[0] == L'0' && (trimmed[1] == L'x' || trimmed[1] == L'X')) {
    auto v = bv::ParseInteger(trimmed);
    return v ? static_cast<int>(*v) : fallback;
  }
  for (wchar_t c : trimmed)
    if (c == L'$') return fallback;  // only "0x" marks hexadecimal here
  return bv::StrToIntDef(trimmed, fallback);
}

}  // namespace settings_file

namespace {

// Writes out what the platform holds of a profile file and forgets it, so that the next read
// comes from the disk.
void ReleaseProfileCache(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

// A default that no read of a real value answers.
constexpr const wchar_t* kMissing = L"\x01<missing>\x01";

std::wstring ReadValue(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback) {
  std::vector<wchar_t> buffer(2048, L'\0');
  DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                          static_cast<DWORD>(buffer.size()), path.c_str());
  return std::wstring(buffer.data(), length);
}

// The section names of a file (no section given) or the key names of one of its sections.
std::vector<std::wstring> Names(const std::wstring& path, const std::wstring* section) {
  std::vector<wchar_t> buffer(4096);
  DWORD length = 0;
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    length = section ? GetPrivateProfileStringW(section->c_str(), nullptr, L"", buffer.data(), size, path.c_str())
                     : GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str());
    // A list that does not fit is answered with the buffer's size less two.
    if (length + 2 < size || size >= (1u << 24)) break;
    buffer.assign(buffer.size() * 4, L'\0');
  }
  std::vector<std::wstring> names;
  for (size_t pos = 0; pos < length && buffer[pos];) {
    std::wstring name(buffer.data() + pos);
    pos += name.size() + 1;
    names.push_back(std::move(name));
  }
  return names;
}

// Runs a file operation again for a moment while another save (another thread, another program)
// has the file open: it reads or replaces the same file at that moment. False when the
// operation failed for good.
template <class Operation>
bool WithRetries(Operation operation) {
  const ULONGLONG giveUp = GetTickCount64() + 2000;
  for (;;) {
    if (operation()) return true;
    DWORD error = GetLastError();
    bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
    if (!busy || GetTickCount64() >= giveUp) return false;
    Sleep(20);
  }
}

std::pair<std::wstring, std::wstring> ValueKey(const std::wstring& section, const std::wstring& key) {
  return {bv::UpperCase(section), bv::UpperCase(key)};
}

}  // namespace

TSettingsFile::TSettingsFile(const std::wstring& name) : path_(settings_file::PathOf(name)), readPath_(path_) {
  bool bareName = name.find_first_of(L"\\/:") == std::wstring::npos;
  if (bareName && !settings_file::FileExists(path_)) {
    wchar_t windows[MAX_PATH];
    if (GetWindowsDirectoryW(windows, MAX_PATH)) {
      std::wstring old = bv::IncludeTrailingBackslash(windows) + name;
      if (settings_file::FileExists(old)) readPath_ = old;
    }
  }
}

TSettingsFile::~TSettingsFile() { DiscardCopy(); }

std::wstring TSettingsFile::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& fallback) const {
  return ReadValue(readPath_, section, key, fallback);
}

void TSettingsFile::Fail() const { throw Exception(L"Unable to write to " + path_); }

TSettingsFile::Values TSettingsFile::ReadAll(const std::wstring& path) {
  Values values;
  for (const std::wstring& section : Names(path, nullptr))
    for (const std::wstring& key : Names(path, &section))
      values.emplace(ValueKey(section, key), Expected{section, key, ReadValue(path, section, key, kMissing)});
  return values;
}

void TSettingsFile::PrepareCopy() {
  if (!copyPath_.empty()) return;
  // A name of its own for every save, also of two threads or two programs at once.
  static std::atomic<unsigned> saves{0};
  std::wstring copy = path_ + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++saves) + L".tmp";
  SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(copy.c_str());  // left by a program that stopped in a save
  Values values;
  if (settings_file::FileExists(readPath_)) {
    // A file that cannot be read is never replaced: its settings would be lost.
    ReleaseProfileCache(readPath_);
    if (!WithRetries([&] { return CopyFileW(readPath_.c_str(), copy.c_str(), FALSE) != FALSE; })) Fail();
    copyPath_ = copy;
    // A read-only file gives a read-only copy, which the writes need to change.
    DWORD attributes = GetFileAttributesW(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(copy.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    values = ReadAll(copy);
  }
  copyPath_ = copy;
  sourcePath_ = readPath_;
  readPath_ = copy;
  expected_ = std::move(values);
}

void TSettingsFile::DiscardCopy() {
  if (copyPath_.empty()) return;
  ReleaseProfileCache(copyPath_);
  DeleteFileW(copyPath_.c_str());
  copyPath_.clear();
  readPath_ = sourcePath_;
  expected_.clear();
}

void TSettingsFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  PrepareCopy();
  std::wstring stored = settings_file::Quoted(value);
  if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), stored.c_str(), copyPath_.c_str())) Fail();
  expected_[ValueKey(section, key)] = Expected{section, key, ReadString(section, key, kMissing)};
}

int TSettingsFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
  return settings_file::IntegerValue(ReadString(section, key, L""), fallback);
}

void TSettingsFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
  WriteString(section, key, std::to_wstring(value));
}

void TSettingsFile::EraseSection(const std::wstring& section) {
  PrepareCopy();
  if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, copyPath_.c_str())) Fail();
  std::wstring upper = bv::UpperCase(section);
  std::erase_if(expected_, [&](const auto& entry) { return entry.first.first == upper; });
}

void TSettingsFile::Commit() {
  if (copyPath_.empty()) return;
  ReleaseProfileCache(copyPath_);
  if (settings_file::BeforeReplaceHook()) settings_file::BeforeReplaceHook()(copyPath_);
  ReleaseProfileCache(copyPath_);
  // The copy takes the file's place only when it holds every value it should: one that was cut
  // short or damaged on the way is dropped.
  bool complete = true;
  for (const auto& [name, expected] : expected_)
    complete = complete && ReadValue(copyPath_, expected.section, expected.key, kMissing) == expected.value;
  ReleaseProfileCache(copyPath_);
  // A read-only file stays as it is (not every platform refuses to replace one).
  DWORD attributes = GetFileAttributesW(path_.c_str());
  bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (!complete || readOnly || !WithRetries([&] {
        return MoveFileExW(copyPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
      })) {
    DiscardCopy();
    Fail();
  }
  copyPath_.clear();
  expected_.clear();
  readPath_ = path_;
  ReleaseProfileCache(path_);
}
