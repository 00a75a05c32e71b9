// See SettingsFile.h.
#include "settings/SettingsFile.h"

#include <windows.h>
#include <shlobj.h>

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

// The name of the settings folder in the application data, whatever the program file is called.
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

// Writes a cached profile file out and drops the platform's cached copy, so that the next read
// comes from the disk.
void ReleaseProfileCache(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

std::pair<std::wstring, std::wstring> WrittenKey(const std::wstring& section, const std::wstring& key) {
  return {bv::UpperCase(section), bv::UpperCase(key)};
}

constexpr const wchar_t* kMissing = L"\x01<missing>\x01";

}  // namespace

TSettingsFile::TSettingsFile(const std::wstring& name, Writes writes)
    : path_(settings_file::PathOf(name)), readPath_(path_), writes_(writes) {
  bool bareName = name.find_first_of(L"\\/:") == std::wstring::npos;
  if (bareName && !settings_file::FileExists(path_)) {
    wchar_t windows[MAX_PATH];
    if (GetWindowsDirectoryW(windows, MAX_PATH)) {
      std::wstring old = bv::IncludeTrailingBackslash(windows) + name;
      if (settings_file::FileExists(old)) readPath_ = old;
    }
  }
}

std::wstring TSettingsFile::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& fallback) const {
  std::vector<wchar_t> buffer(2048, L'\0');
  DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                          static_cast<DWORD>(buffer.size()), readPath_.c_str());
  return std::wstring(buffer.data(), length);
}

TSettingsFile::~TSettingsFile() { DiscardCopy(); }

void TSettingsFile::Fail() const { throw Exception(L"Unable to write to " + path_); }

void TSettingsFile::PrepareCopy() {
  if (!copyPath_.empty()) return;
  std::wstring copy = path_ + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(GetCurrentThreadId()) + L".tmp";
  DeleteFileW(copy.c_str());  // left behind by a program that stopped in a save
  if (settings_file::FileExists(readPath_)) {
    // A file that cannot be read is never replaced: its settings would be lost.
    ReleaseProfileCache(readPath_);
    if (!CopyFileW(readPath_.c_str(), copy.c_str(), FALSE)) Fail();
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file gives a read-only copy
  }
  copyPath_ = copy;
  sourcePath_ = readPath_;
  readPath_ = copy;
}

void TSettingsFile::DiscardCopy() {
  if (copyPath_.empty()) return;
  ReleaseProfileCache(copyPath_);
  DeleteFileW(copyPath_.c_str());
  copyPath_.clear();
  readPath_ = sourcePath_;
  written_.clear();
}

void TSettingsFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  std::wstring stored = settings_file::Quoted(value);
  if (writes_ == Writes::kOnCommit) {
    PrepareCopy();
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), stored.c_str(), copyPath_.c_str())) Fail();
    written_[WrittenKey(section, key)] = ReadString(section, key, kMissing);
    return;
  }
  if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), stored.c_str(), path_.c_str())) Fail();
  readPath_ = path_;
}

void TSettingsFile::Commit() {
  if (writes_ != Writes::kOnCommit || copyPath_.empty()) return;
  ReleaseProfileCache(copyPath_);
  if (settings_file::BeforeReplaceHook()) settings_file::BeforeReplaceHook()(copyPath_);
  ReleaseProfileCache(copyPath_);
  // The copy replaces the file only when everything written is in it.
  bool complete = true;
  for (const auto& [name, value] : written_) complete = complete && ReadString(name.first, name.second, kMissing) == value;
  ReleaseProfileCache(copyPath_);
  // The platform refuses to replace a read-only file; the check makes that hold everywhere.
  DWORD attributes = GetFileAttributesW(path_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) complete = false;
  if (!complete || !MoveFileExW(copyPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DiscardCopy();
    Fail();
  }
  copyPath_.clear();
  written_.clear();
  readPath_ = path_;
  ReleaseProfileCache(path_);
}

int TSettingsFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
  return settings_file::IntegerValue(ReadString(section, key, L""), fallback);
}

void TSettingsFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
  WriteString(section, key, std::to_wstring(value));
}

void TSettingsFile::EraseSection(const std::wstring& section) {
  if (writes_ == Writes::kOnCommit) {
    PrepareCopy();
    if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, copyPath_.c_str())) Fail();
    std::wstring upper = bv::UpperCase(section);
    std::erase_if(written_, [&](const auto& entry) { return entry.first.first == upper; });
    return;
  }
  if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, path_.c_str())) Fail();
}
