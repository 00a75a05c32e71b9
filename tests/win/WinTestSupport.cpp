// See WinTestSupport.h.
#include "tests/win/WinTestSupport.h"

#include <shellapi.h>

#include <algorithm>

#include "framework/Handles.h"

namespace wintest {

std::vector<std::wstring>& RecordedErrors() {
  static std::vector<std::wstring> errors;
  return errors;
}

void Pump(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"brenvale-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() {
  // Clear read-only flags first, then remove the whole tree.
  std::vector<std::wstring> stack{path_};
  while (!stack.empty()) {
    std::wstring dir = stack.back();
    stack.pop_back();
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((dir + L"*").c_str(), &data));
    if (!find) continue;
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) stack.push_back(full + L"\\");
    } while (FindNextFileW(find.get(), &data));
  }
  std::wstring from = path_.substr(0, path_.size() - 1);
  from.push_back(L'\0');
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

void TempFolder::Create(const std::wstring& name, const std::string& content, DWORD attributes) const {
  UniqueFile file(CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  file.reset();
  if (attributes) SetFileAttributesW(File(name).c_str(), attributes);
}

bool TempFolder::Exists(const std::wstring& name) const {
  return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> TempFolder::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW((path_ + L"*").c_str(), &data));
  if (find) {
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
  }
  std::sort(names.begin(), names.end());
  return names;
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::wstring& path) {
  wchar_t buffer[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, buffer);
  previous_ = buffer;
  SetCurrentDirectoryW(path.c_str());
}

CurrentDirectoryScope::~CurrentDirectoryScope() { SetCurrentDirectoryW(previous_.c_str()); }

}  // namespace wintest
