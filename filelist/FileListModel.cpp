// See FileListModel.h.
#include "filelist/FileListModel.h"

#include <utility>

#include "filelist/FileListFormats.h"
#include "framework/Strings.h"

const TypeInfo& FileAttrType() {
  static const TypeInfo t = MakeEnumType(
      L"TFileAttr", {L"ftReadOnly", L"ftHidden", L"ftSystem", L"ftVolumeID", L"ftDirectory", L"ftArchive", L"ftNormal"});
  return t;
}

const TypeInfo& FileTypeSetType() {
  static const TypeInfo t = MakeSetType(L"TFileType", FileAttrType());
  return t;
}

int TextComparer::CompareIgnoringCase(std::wstring_view a, std::wstring_view b) const {
  return bv::CompareTextSimple(a, b);
}

int TextComparer::CompareCaseSensitive(std::wstring_view a, std::wstring_view b) const {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace filelist {

uint32_t AttributeMask(TFileType fileType) {
  static const uint32_t bits[] = {0x1, 0x2, 0x4, 0x10, 0x20, 0x80, 0x800};
  uint32_t mask = 0;
  for (int i = 0; i < 7; ++i)
    if (fileType.Has(static_cast<TFileAttr>(i))) mask |= bits[i];
  return mask;
}

bool PassesAttributeFilter(uint32_t attributes, uint32_t mask) {
  if ((attributes & 0x10) != (mask & 0x10)) return false;
  if ((attributes & 0x1) && !(mask & 0x1)) return false;
  if ((attributes & 0x2) && !(mask & 0x2)) return false;
  if ((attributes & 0x4) && !(mask & 0x4)) return false;
  return true;
}

std::vector<std::wstring> SplitMask(std::wstring_view mask) {
  std::wstring trimmed = bv::TrimSpaces(mask);
  if (trimmed.empty()) trimmed = L"*.*";
  return bv::Split(trimmed, L';');
}

}  // namespace filelist

FileListModel::FileListModel(Services services) : services_(std::move(services)) {}

const TFileInfo* FileListModel::Entry(int index) const {
  if (index < 0 || index >= EntryCount()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

TFileInfo* FileListModel::Entry(int index) {
  if (index < 0 || index >= EntryCount()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

void FileListModel::Clear() {
  TFlieInfoArr fresh;
  fresh.reserve(500);
  entries_.swap(fresh);
}

void FileListModel::Grow() {
  // Steps of 500 records: a folder of a few thousand files reallocates only a few times.
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() + 500);
}

void FileListModel::AppendEntry(TFileInfo entry) {
  Grow();
  entries_.push_back(std::move(entry));
}

bool FileListModel::ScanPattern(const std::wstring& folder, const std::wstring& pattern, uint32_t attributeMask,
                                bool parentDirEnabled) {
  sortEnabled_ = true;
  if (!services_.enumerator) return false;
  bool added = false;
  services_.enumerator->Enumerate(folder + pattern, [&](const FoundItem& item) {
    if (!filelist::PassesAttributeFilter(item.attributes, attributeMask)) return;
    if (item.name == L".") return;
    if (item.name == L".." && !parentDirEnabled) return;
    TFileInfo e;
    e.EntryName = item.name;
    e.EntryPath = folder + item.name;
    e.EntryKind = (item.attributes & 0x10) ? L"dir" : L"file";
    e.EntryAttributes = item.attributes;
    e.EntryAttrText = filelist::AttributeLetters(item.attributes);
    e.EntrySize = static_cast<int64_t>(item.size);
    if (services_.formatDate) e.EntryDateText = services_.formatDate(item.lastWriteTime);
    e.EntryTimeKey = item.lastWriteTime;
    AppendEntry(std::move(e));
    added = true;
  });
  return added;
}

void FileListModel::ScanFolder(const std::wstring& directory, std::wstring_view mask, TFileType fileType,
                               bool showFolders, bool parentDirEnabled) {
  uint32_t attributeMask = filelist::AttributeMask(fileType);
  std::wstring folder = bv::IncludeTrailingBackslash(directory);
  if (showFolders) ScanPattern(folder, L"*.*", attributeMask | 0x10, parentDirEnabled);
  for (const std::wstring& piece : filelist::SplitMask(mask))
    ScanPattern(folder, piece, attributeMask & ~0x10u, parentDirEnabled);
}

void FileListModel::FinishRebuild(int columnCount) {
  sortDescending_ = true;
  if (EntryCount() > 0 && columnCount > 0) HandleColumnClick(0);
}

bool FileListModel::HandleColumnClick(int column) {
  if (!sortEnabled_) return false;
  arrowColumn_ = column;
  if (column == sortColumn_) {
    sortDescending_ = !sortDescending_;
  } else {
    sortColumn_ = column;
    sortDescending_ = true;
  }
  if (!entries_.empty()) SortEntries();
  return true;
}

void FileListModel::SortEntries() {
  if (entries_.size() > 1) QuickSort(0, EntryCount() - 1);
}

void FileListModel::QuickSort(int left, int right) {
  // Hoare partition around the middle record; the left part recursively, the right part by
  // continuing the loop. Records that compare equal end in no defined order.
  for (;;) {
    int i = left, j = right;
    TFileInfo pivot = entries_[static_cast<size_t>((left + right) / 2)];
    do {
      while (CompareEntries(entries_[static_cast<size_t>(i)], pivot) < 0) ++i;
      while (CompareEntries(entries_[static_cast<size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i < j) std::swap(entries_[static_cast<size_t>(i)], entries_[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) QuickSort(left, j);
    left = i;
    if (i >= right) return;
  }
}

int FileListModel::CompareEntries(const TFileInfo& a, const TFileInfo& b) const {
  static const TextComparer simple;
  const TextComparer& cmp = services_.comparer ? *services_.comparer : simple;
  bool aParent = a.EntryName == L"..";
  bool bParent = b.EntryName == L"..";
  int result;
  if (a.EntryKind != b.EntryKind) {
    result = a.EntryKind == L"dir" ? -1 : 1;
  } else {
    switch (sortColumn_) {
      case 0:
        result = cmp.CompareIgnoringCase(a.EntryName, b.EntryName);
        break;
      case 1:
        result = a.EntrySize < b.EntrySize ? -1 : (a.EntrySize > b.EntrySize ? 1 : 0);
        break;
      case 2: {
        std::wstring x = bv::LowerCase(a.EntryTypeName), y = bv::LowerCase(b.EntryTypeName);
        if (x == y) result = 0;
        else if (x.empty()) result = -1;
        else if (y.empty()) result = 1;
        else result = cmp.CompareCaseSensitive(x, y);
        break;
      }
      case 3:
        result = a.EntryTimeKey < b.EntryTimeKey ? -1 : (a.EntryTimeKey > b.EntryTimeKey ? 1 : 0);
        break;
      case 4:
        result = cmp.CompareIgnoringCase(a.EntryAttrText, b.EntryAttrText);
        break;
      default:
        result = aParent ? -1 : (bParent ? 1 : 0);
        break;
    }
  }
  if (sortDescending_ && !aParent && !bParent) result = -result;
  return result;
}
