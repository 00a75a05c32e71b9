// See ShellInfoCache.h.
#include "filelist/ShellInfoCache.h"

#include <windows.h>
#include <shellapi.h>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "framework/Handles.h"

namespace {

// The default value of a key below HKEY_CLASSES_ROOT, empty when there is none.
std::wstring ClassesValue(const std::wstring& key) {
  wchar_t value[MAX_PATH] = {};
  LONG size = sizeof(value) - sizeof(wchar_t);
  if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return {};
  return value;
}

}  // namespace

ShellInfoCache& ShellInfoCache::Shared() {
  static ShellInfoCache cache;
  return cache;
}

std::wstring_view ShellInfoCache::Intern(const std::wstring& text) { return *typeNames_.insert(text).first; }

std::optional<ShellAnswer> ShellInfoCache::Ask(const std::wstring& path) {
  ++queries_;
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_TYPENAME)) return std::nullopt;
  return ShellAnswer{info.iIcon, Intern(info.szTypeName)};
}

bool ShellInfoCache::OwnIcon(const std::wstring& extension) {
  if (filelist::HasOwnIconExtension(extension)) return true;
  if (extension.empty()) return false;
  auto it = ownIcon_.find(extension);
  if (it != ownIcon_.end()) return it->second;
  // A type registered with the icon "%1" shows each file's own picture.
  bool own = false;
  std::wstring type = ClassesValue(extension);
  for (const std::wstring& key : {extension + L"\\DefaultIcon", type.empty() ? std::wstring() : type + L"\\DefaultIcon"}) {
    if (key.empty()) continue;
    std::wstring icon = ClassesValue(key);
    if (icon.find(L"%1") != std::wstring::npos) own = true;
  }
  ownIcon_.emplace(extension, own);
  return own;
}

ShellAnswer ShellInfoCache::Lookup(const std::wstring& path, bool folder) {
  // Keyed by the extension as written: the shell may spell a type name after it.
  std::wstring key = folder ? L"\\" : filelist::ExtensionOf(filelist::NameOf(path));
  auto it = byExtension_.find(key);
  if (it == byExtension_.end()) {
    // The first file or folder of a kind answers for all of them.
    std::optional<ShellAnswer> type = Ask(path);
    it = byExtension_.emplace(key, type.value_or(ShellAnswer{})).first;
  }
  if (folder || !OwnIcon(key)) return it->second;
  // The type name belongs to the extension; the picture is the file's own.
  std::optional<ShellAnswer> own = Ask(path);
  return {own ? own->iconIndex : it->second.iconIndex, it->second.typeName};
}
