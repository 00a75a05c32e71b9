// See WinSkinFileSystem.h.
#include "skin/WinSkinFileSystem.h"

#include "framework/Handles.h"

namespace {
// Skin files are small; anything beyond this is not a skin.
constexpr LONGLONG kMaxSkinFileSize = LONGLONG(256) << 20;
}  // namespace

bool WinSkinFileSystem::FileExists(const std::wstring& path) const {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinSkinFileSystem::FolderExists(const std::wstring& path) const {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<uint8_t>> WinSkinFileSystem::ReadFile(const std::wstring& path) const {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > kMaxSkinFileSize) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) return std::nullopt;
    done += got;
  }
  return bytes;
}

std::vector<SkinFolderEntry> WinSkinFileSystem::ListFolder(const std::wstring& path) const {
  std::vector<SkinFolderEntry> entries;
  std::wstring pattern = path;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L"*";
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return entries;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

std::wstring WinSkinFileSystem::ProgramFolder() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}
