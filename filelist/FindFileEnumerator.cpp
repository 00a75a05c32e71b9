// See FindFileEnumerator.h.
#include "filelist/FindFileEnumerator.h"

#include <windows.h>

#include "framework/Handles.h"

bool FindFileEnumerator::Enumerate(const std::wstring& pattern, const std::function<void(const FoundItem&)>& sink) {
  WIN32_FIND_DATAW data;
  // The basic information level skips the short 8.3 names, which nothing here uses.
  UniqueFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return false;
  FoundItem item;
  do {
    item.name = data.cFileName;
    item.attributes = data.dwFileAttributes;
    item.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    item.lastWriteTime =
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    sink(item);
  } while (FindNextFileW(find.get(), &data));
  return true;
}
