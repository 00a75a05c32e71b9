// See FileListModel.h.
#include "filelist/FileListModel.h"

#include <algorithm>
#include <array>
#include <unordered_map>
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

namespace {

// 64-bit FNV-1a, fed byte by byte.
struct Fnv64 {
  uint64_t value = 14695981039346656037ull;
  void Mix(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) value = (value ^ bytes[i]) * 1099511628211ull;
  }
};

// Big-endian code units, so that bytes compare like the units.
std::string KeyOfUnits(std::wstring_view text) {
  std::string key;
  key.reserve(text.size() * 4);
  for (wchar_t c : text) {
    uint32_t u = static_cast<uint32_t>(c);
    for (int shift = 24; shift >= 0; shift -= 8) key.push_back(static_cast<char>((u >> shift) & 0xFF));
  }
  return key;
}
}  // namespace

std::string TextComparer::SortKeyIgnoringCase(std::wstring_view text) const { return KeyOfUnits(bv::UpperCase(text)); }
std::string TextComparer::SortKeyCaseSensitive(std::wstring_view text) const { return KeyOfUnits(text); }

std::wstring TFileInfo::EntryPath() const {
  if (!EntryFolder) return EntryName;
  if (EntryKind == L"drv") return *EntryFolder;
  return *EntryFolder + EntryName;
}

namespace {
constexpr std::wstring_view kKindTexts[] = {L"", L"dir", L"file", L"drv"};
}  // namespace

EntryKindText::EntryKindText(std::wstring_view text) {
  for (uint8_t i = 1; i < std::size(kKindTexts); ++i)
    if (text == kKindTexts[i]) kind_ = i;
}

EntryKindText::operator std::wstring_view() const { return kKindTexts[kind_]; }

namespace filelist {

std::wstring_view SharedAttributeLetters(uint32_t attributes) {
  // The letters depend on four bits (archive, read-only, hidden, system): sixteen texts.
  static const std::array<std::wstring, 16> texts = [] {
    std::array<std::wstring, 16> t;
    for (uint32_t i = 0; i < 16; ++i) t[i] = AttributeLetters(((i & 1) ? 0x20u : 0) | ((i & 2) ? 0x1u : 0) | ((i & 4) ? 0x2u : 0) | ((i & 8) ? 0x4u : 0));
    return t;
  }();
  const uint32_t index = ((attributes & 0x20) ? 1 : 0) | ((attributes & 0x1) ? 2 : 0) | ((attributes & 0x2) ? 4 : 0) | ((attributes & 0x4) ? 8 : 0);
  return texts[index];
}

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

namespace {

// Both texts in upper case. Greedy matching with one backtrack point.
bool MatchFrom(std::wstring_view name, std::wstring_view pattern) {
  size_t n = 0, p = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace

// Both texts in upper case.
bool MatchesUpperMaskPiece(std::wstring_view name, std::wstring_view pattern) {
  if (MatchFrom(name, pattern)) return true;
  // "x.*" also matches "x": the dot and what follows it may be missing.
  if (pattern.size() >= 2 && pattern.ends_with(L".*") && name.find(L'.') == std::wstring::npos)
    return MatchFrom(name, pattern.substr(0, pattern.size() - 2));
  return false;
}

bool MatchesMaskPiece(std::wstring_view nameText, std::wstring_view patternText) {
  return MatchesUpperMaskPiece(bv::UpperCase(nameText), bv::UpperCase(patternText));
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
  // The array keeps its memory: a folder read again fills the places it filled before, instead
  // of growing a new array step by step through fresh memory. FinishRebuild gives back what a
  // much smaller folder leaves unused.
  entries_.clear();
  if (entries_.capacity() < 500) entries_.reserve(500);
}

void FileListModel::Grow() {
  // Steps of 500 records, so a folder of a few thousand files reallocates only a few times; in
  // larger folders the step grows with the array (half of it), so that 100,000 files do not
  // move the whole array two hundred times.
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() + std::max<size_t>(500, entries_.size() / 2));
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
  // One folder string for every entry of the list.
  if (!folder_ || *folder_ != folder) folder_ = std::make_shared<const std::wstring>(folder);
  const std::wstring upperPattern = strictMask_ ? bv::UpperCase(pattern) : std::wstring();
  services_.enumerator->Enumerate(folder + pattern, [&](const FoundItem& item) {
    if (!filelist::PassesAttributeFilter(item.attributes, attributeMask)) return;
    if (item.name == L".") return;
    if (item.name == L".." && !parentDirEnabled) return;
    if (strictMask_ && item.name != L".." && !filelist::MatchesUpperMaskPiece(bv::UpperCase(item.name), upperPattern))
      return;
    Grow();
    FillEntry(entries_.emplace_back(), item);
    added = true;
  });
  return added;
}

void FileListModel::FillEntry(TFileInfo& e, const FoundItem& item) const {
  e.EntryName = item.name;
  e.EntryFolder = folder_;
  e.EntryKind = std::wstring_view((item.attributes & 0x10) ? L"dir" : L"file");
  e.EntryAttributes = item.attributes;
  e.EntrySize = static_cast<int64_t>(item.size);
  e.EntryTimeKey = item.lastWriteTime;
}

bool FileListModel::RemovePath(std::wstring_view path) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const TFileInfo& e) {
    return e.EntryKind == L"file" && e.EntryFolder && path.size() == e.EntryFolder->size() + e.EntryName.size() &&
           path.substr(0, e.EntryFolder->size()) == *e.EntryFolder && path.substr(e.EntryFolder->size()) == e.EntryName;
  });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

bool FileListModel::InsertFound(const std::wstring& folder, const FoundItem& item, std::wstring_view mask,
                                TFileType fileType) {
  // A rebuild sorts by name in the order the one before left (FinishRebuild): only a list in
  // that order keeps it when an entry is put in its place.
  // An empty list has not been sorted yet: the rebuild would sort it by name afresh.
  const bool empty = entries_.empty();
  if (!folder_ || *folder_ != folder || !sortEnabled_ || sortColumn_ != 0 ||
      (!empty && (sortDescending_ || arrowColumn_ != 0)))
    return false;
  const std::vector<std::wstring> pieces = filelist::SplitMask(mask);
  if (pieces.size() != 1 || (item.attributes & 0x10) || item.name == L"." || item.name == L"..") return false;
  if (!filelist::PassesAttributeFilter(item.attributes, filelist::AttributeMask(fileType) & ~0x10u) ||
      !filelist::MatchesMaskPiece(item.name, pieces[0]))
    return false;
  TFileInfo e;
  FillEntry(e, item);
  auto before = [this](const TFileInfo& a, const TFileInfo& b) { return CompareEntries(a, b) < 0; };
  size_t at = static_cast<size_t>(std::upper_bound(entries_.begin(), entries_.end(), e, before) - entries_.begin());
  // An entry that sorts level with another has no place of its own.
  if (at > 0 && CompareEntries(entries_[at - 1], e) == 0) return false;
  Grow();
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(e));
  if (empty) {
    // As FinishRebuild leaves a list of one entry.
    sortDescending_ = false;
    arrowColumn_ = 0;
  }
  return true;
}

void FileListModel::ScanFolder(const std::wstring& directory, std::wstring_view mask, TFileType fileType,
                               bool showFolders, bool parentDirEnabled) {
  uint32_t attributeMask = filelist::AttributeMask(fileType);
  std::wstring folder = bv::IncludeTrailingBackslash(directory);
  if (showFolders) ScanPattern(folder, L"*.*", attributeMask | 0x10, parentDirEnabled);
  for (const std::wstring& piece : filelist::SplitMask(mask))
    ScanPattern(folder, piece, attributeMask & ~0x10u, parentDirEnabled);
}

std::wstring FileListModel::DateText(const TFileInfo& entry) const {
  return services_.formatDate ? services_.formatDate(entry.EntryTimeKey) : std::wstring();
}

TFlieInfoArr FileListModel::ShellAnswers() const {
  TFlieInfoArr answered;
  for (const TFileInfo& e : entries_)
    if (e.EntryInfoFetched) answered.push_back(e);
  return answered;
}

void FileListModel::KeepShellAnswers(const TFlieInfoArr& previous) {
  // Only entries that were shown have answers; usually a screenful.
  std::unordered_map<std::wstring_view, const TFileInfo*> answered;
  for (const TFileInfo& e : previous)
    if (e.EntryInfoFetched) answered.emplace(e.EntryName, &e);
  if (answered.empty()) return;
  for (TFileInfo& e : entries_) {
    auto it = answered.find(e.EntryName);
    if (it == answered.end()) continue;
    const TFileInfo& old = *it->second;
    bool sameFolder = old.EntryFolder == e.EntryFolder || (old.EntryFolder && e.EntryFolder && *old.EntryFolder == *e.EntryFolder);
    if (!sameFolder || old.EntryKind != e.EntryKind || old.EntryAttributes != e.EntryAttributes ||
        old.EntrySize != e.EntrySize || old.EntryTimeKey != e.EntryTimeKey)
      continue;
    e.EntryIconIndex = old.EntryIconIndex;
    e.EntryTypeName = old.EntryTypeName;
    e.EntryInfoFetched = true;
  }
}

std::vector<uint64_t> FileListModel::RowFingerprints() const {
  // 64-bit FNV-1a over the fields a row shows; the folder is the same for every row of a list.
  std::vector<uint64_t> prints;
  prints.reserve(entries_.size());
  for (const TFileInfo& e : entries_) {
    Fnv64 h;
    h.Mix(e.EntryName.data(), e.EntryName.size() * sizeof(wchar_t));
    const std::wstring_view kind = e.EntryKind;
    h.Mix(kind.data(), kind.size() * sizeof(wchar_t));
    h.Mix(&e.EntryAttributes, sizeof(e.EntryAttributes));
    h.Mix(&e.EntrySize, sizeof(e.EntrySize));
    h.Mix(&e.EntryTimeKey, sizeof(e.EntryTimeKey));
    prints.push_back(h.value);
  }
  return prints;
}

int filelist::RowsChangedFrom(const std::vector<uint64_t>& before, const std::vector<uint64_t>& after) {
  auto [b, a] = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
  if (b == before.end() && a == after.end()) return -1;
  return static_cast<int>(b - before.begin());
}

void FileListModel::FinishRebuild(int columnCount) {
  if (entries_.capacity() > 2 * entries_.size() + 500) entries_.shrink_to_fit();
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

namespace {

// What places an entry in the name order: its kind and name.
uint64_t OrderPrint(const TFileInfo& e) {
  Fnv64 h;
  const std::wstring_view kind = e.EntryKind;
  h.Mix(kind.data(), kind.size() * sizeof(wchar_t));
  const wchar_t separator = L'\\';  // a character no name holds
  h.Mix(&separator, sizeof(separator));
  h.Mix(e.EntryName.data(), e.EntryName.size() * sizeof(wchar_t));
  return h.value;
}

}  // namespace

bool FileListModel::InStrictOrder() const {
  const bool remembered = sortColumn_ == 0 && !orderPrints_.empty() && orderDescending_ == sortDescending_;
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t before = kNone;  // the place in the remembered order of the entry before, if it has one
  size_t last = kNone;    // the last place found
  for (size_t i = 0; i < entries_.size(); ++i) {
    size_t place = kNone;
    if (remembered) {
      // The entry is looked for where the one found last was followed, or one further on (one
      // entry gone in between).
      const uint64_t print = OrderPrint(entries_[i]);
      const size_t from = last == kNone ? 0 : last + 1;
      for (size_t k = from; k < from + 2 && k < orderPrints_.size(); ++k)
        if (orderPrints_[k] == print) {
          place = k;
          break;
        }
    }
    // Two entries in the remembered order, in that order, compare as they did then.
    const bool known = before != kNone && place != kNone && before < place;
    if (i > 0 && !known && CompareEntries(entries_[i - 1], entries_[i]) >= 0) return false;
    before = place;
    if (place != kNone) last = place;
  }
  return true;
}

void FileListModel::RememberStrictOrder() {
  if (sortColumn_ != 0) return;
  orderPrints_.clear();
  orderPrints_.reserve(entries_.size());
  for (const TFileInfo& e : entries_) {
    if (e.EntryName == L"..") {
      orderPrints_.clear();
      return;
    }
    orderPrints_.push_back(OrderPrint(e));
  }
  orderDescending_ = sortDescending_;
}

void FileListModel::SortEntries() {
  if (entries_.size() < 2) return;
  // A folder usually lists its items in name order already. When every entry compares strictly
  // after the one before it, no two entries compare equal and the present order is the only
  // sorted one: the quicksort would end in it, so nothing needs to move. One comparison per
  // entry, against the keys and the sort below.
  if (InStrictOrder()) {
    RememberStrictOrder();
    return;
  }
  static const TextComparer simple;
  const TextComparer& cmp = services_.comparer ? *services_.comparer : simple;
  // The quicksort runs over positions with a sort key per record, so that a text comparison is a
  // byte comparison; the records then move once into their new order.
  std::vector<SortRecord> records;
  records.reserve(entries_.size());
  for (const TFileInfo& e : entries_) {
    SortRecord r{&e, {}};
    if (sortColumn_ == 0) r.key = cmp.SortKeyIgnoringCase(e.EntryName);
    else if (sortColumn_ == 4) r.key = cmp.SortKeyIgnoringCase(e.EntryAttrText());
    else if (sortColumn_ == 2) r.key = cmp.SortKeyCaseSensitive(bv::LowerCase(e.EntryTypeName));
    records.push_back(std::move(r));
  }
  std::vector<int> order(entries_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  QuickSort(order, records, 0, EntryCount() - 1);
  records.clear();
  records.shrink_to_fit();
  // The records move along the cycles of the new order, in place: no second array of entries.
  // order[k] is the old place of the record that belongs at k; -1 marks a place that is done.
  for (size_t k = 0; k < order.size(); ++k) {
    if (order[k] < 0 || static_cast<size_t>(order[k]) == k) continue;
    TFileInfo held = std::move(entries_[k]);
    size_t place = k;
    for (;;) {
      size_t from = static_cast<size_t>(order[place]);
      order[place] = -1;
      if (from == k) {
        entries_[place] = std::move(held);
        break;
      }
      entries_[place] = std::move(entries_[from]);
      place = from;
    }
  }
}

void FileListModel::QuickSort(std::vector<int>& order, const std::vector<SortRecord>& records, int left,
                              int right) const {
  // Hoare partition around the middle record; the left part recursively, the right part by
  // continuing the loop. Records that compare equal end in no defined order.
  auto compare = [&](int a, int b) {
    const SortRecord& x = records[static_cast<size_t>(a)];
    const SortRecord& y = records[static_cast<size_t>(b)];
    bool keyed = sortColumn_ == 0 || sortColumn_ == 2 || sortColumn_ == 4;
    return Compare(*x.entry, *y.entry, keyed ? &x.key : nullptr, keyed ? &y.key : nullptr);
  };
  for (;;) {
    int i = left, j = right;
    int pivot = order[static_cast<size_t>((left + right) / 2)];  // a record, not a place
    do {
      while (compare(order[static_cast<size_t>(i)], pivot) < 0) ++i;
      while (compare(order[static_cast<size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i < j) std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) QuickSort(order, records, left, j);
    left = i;
    if (i >= right) return;
  }
}

int FileListModel::CompareEntries(const TFileInfo& a, const TFileInfo& b) const {
  return Compare(a, b, nullptr, nullptr);
}

int FileListModel::Compare(const TFileInfo& a, const TFileInfo& b, const std::string* keyA,
                           const std::string* keyB) const {
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
        result = keyA ? keyA->compare(*keyB) : cmp.CompareIgnoringCase(a.EntryName, b.EntryName);
        break;
      case 1:
        result = a.EntrySize < b.EntrySize ? -1 : (a.EntrySize > b.EntrySize ? 1 : 0);
        break;
      case 2: {
        if (keyA) {
          // Keys of the lowered texts: equal texts have equal keys, an empty text the shortest.
          bool xEmpty = a.EntryTypeName.empty(), yEmpty = b.EntryTypeName.empty();
          if (*keyA == *keyB) result = 0;
          else if (xEmpty) result = -1;
          else if (yEmpty) result = 1;
          else result = keyA->compare(*keyB);
          break;
        }
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
        result = keyA ? keyA->compare(*keyB) : cmp.CompareIgnoringCase(a.EntryAttrText(), b.EntryAttrText());
        break;
      default:
        result = aParent ? -1 : (bParent ? 1 : 0);
        break;
    }
  }
  result = result < 0 ? -1 : (result > 0 ? 1 : 0);
  if (sortDescending_ && !aParent && !bParent) result = -result;
  return result;
}
