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
      folder = bv::IncludeTrailingBackslash(appData) + ProgramBaseName();
  }
  if (folder.empty()) return {};
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return bv::IncludeTrailingBackslash(folder);
}

void SetFolder(const std::wstring& folder) { FolderOverride() = folder; }

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

std::wstring TSettingsFile::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& fallback) const {
  std::vector<wchar_t> buffer(2048, L'\0');
  DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                          static_cast<DWORD>(buffer.size()), readPath_.c_str());
  return std::wstring(buffer.data(), length);
}

void TSettingsFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  std::wstring stored = settings_file::Quoted(value);
  if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), stored.c_str(), path_.c_str()))
    throw Exception(L"Unable to write to " + path_);
  readPath_ = path_;
}

int TSettingsFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
  return settings_file::IntegerValue(ReadString(section, key, L""), fallback);
}

void TSettingsFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
  WriteString(section, key, std::to_wstring(value));
}

void TSettingsFile::EraseSection(const std::wstring& section) {
  if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, path_.c_str()))
    throw Exception(L"Unable to write to " + path_);
}
