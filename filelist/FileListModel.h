// The entry model of the file list: one TFileInfo per folder entry or drive, the mask and
// attribute rules that decide what a scan lists, and the column sort with its ".." rules. Plain
// C++: the folder enumeration, text comparison and date formatting come in as services, so the
// model runs (and is tested) without the windowing platform.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/TypeInfo.h"

// What an entry is, kept in one byte: "dir", "file" or "drv" (or nothing), read as that text.
class EntryKindText {
 public:
  constexpr EntryKindText() = default;
  EntryKindText(std::wstring_view text);  // NOLINT: set from the texts, as a text would be
  operator std::wstring_view() const;     // NOLINT: read as the text
  std::wstring_view View() const { return *this; }
  friend bool operator==(EntryKindText a, EntryKindText b) { return a.kind_ == b.kind_; }
  friend bool operator==(EntryKindText a, std::wstring_view b) { return a.View() == b; }

 private:
  uint8_t kind_ = 0;
};

namespace filelist {
// The attribute letters of attribute bits (AttributeLetters), as a view of one of sixteen texts
// that live for the whole process.
std::wstring_view SharedAttributeLetters(uint32_t attributes);
}  // namespace filelist

// One row of a file list. An entry holds what it must and derives or shares the rest: the
// folder is one string for every entry of a scan, the kind is one byte, the attribute letters
// come from the attribute bits, and the type name is a view of a text that lives for the whole
// process. The Modified text is made when a row shows it.
struct TFileInfo {
  std::wstring EntryName;
  // The folder the entry is in, with a trailing backslash (a drive's root for drives).
  std::shared_ptr<const std::wstring> EntryFolder;
  std::wstring_view EntryTypeName;  // must point at text that outlives the entry (a literal, or a shared text)
  int64_t EntrySize = 0;
  int64_t EntryFree = 0;
  uint64_t EntryTimeKey = 0;
  uint32_t EntryAttributes = 0;
  int32_t EntryIconIndex = 0;
  EntryKindText EntryKind;  // "dir", "file" or "drv"
  bool EntryInfoFetched = false;

  // Letters of filelist::AttributeLetters for EntryAttributes.
  std::wstring_view EntryAttrText() const { return filelist::SharedAttributeLetters(EntryAttributes); }
  // The full path: the folder and the name (a drive's root for drives).
  std::wstring EntryPath() const;
};
using TFlieInfoArr = std::vector<TFileInfo>;

enum class TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;
const TypeInfo& FileAttrType();
const TypeInfo& FileTypeSetType();

// One item found by a folder enumeration.
struct FoundItem {
  std::wstring name;
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWriteTime = 0;  // file time, UTC
};

class DirectoryEnumerator {
 public:
  virtual ~DirectoryEnumerator() = default;
  // Calls `sink` for every item matching `pattern` (a folder, a backslash and a wildcard
  // pattern); false when the enumeration cannot start.
  virtual bool Enumerate(const std::wstring& pattern, const std::function<void(const FoundItem&)>& sink) = 0;
};

class TextComparer {
 public:
  virtual ~TextComparer() = default;
  // Locale-aware comparisons; negative, zero or positive.
  virtual int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) const;
  virtual int CompareCaseSensitive(std::wstring_view a, std::wstring_view b) const;
  // Sort keys: byte strings that compare (as unsigned bytes) exactly as the texts compare with
  // the two functions above. Sorting a large folder compares keys instead of texts.
  virtual std::string SortKeyIgnoringCase(std::wstring_view text) const;
  virtual std::string SortKeyCaseSensitive(std::wstring_view text) const;
};

namespace filelist {
// Attribute bits of the FileType members: ftReadOnly 0x1, ftHidden 0x2, ftSystem 0x4,
// ftVolumeID 0x10, ftDirectory 0x20, ftArchive 0x80, ftNormal 0x800.
uint32_t AttributeMask(TFileType fileType);
// Whether an item with attribute bits `attributes` passes the scan's attribute mask.
bool PassesAttributeFilter(uint32_t attributes, uint32_t mask);
// The mask trimmed of spaces ("*.*" when nothing is left), split at ";" without trimming pieces.
std::vector<std::wstring> SplitMask(std::wstring_view mask);
// Whether `name` itself matches the mask piece `pattern`, ignoring letter case: "*" any run of
// characters, "?" one character, and a final ".*" also matches a name without a dot ("*.*"
// matches every name). Unlike the platform's search, which also tries a volume's short 8.3
// alias, "*.8bf" never matches "Foo.8bf_old" or "Foo.8bfx".
bool MatchesMaskPiece(std::wstring_view name, std::wstring_view pattern);
// MatchesMaskPiece of a name and a pattern both already in upper case (bv::UpperCase).
bool MatchesUpperMaskPiece(std::wstring_view name, std::wstring_view pattern);
// The first row whose fingerprint differs between `before` and `after` (a row that exists in only
// one of them differs); -1 when the two are the same.
int RowsChangedFrom(const std::vector<uint64_t>& before, const std::vector<uint64_t>& after);
}  // namespace filelist

class FileListModel {
 public:
  struct Services {
    DirectoryEnumerator* enumerator = nullptr;  // borrowed
    const TextComparer* comparer = nullptr;     // borrowed
    // The Modified text of a file time (UTC); empty when not given.
    std::function<std::wstring(uint64_t)> formatDate;
  };
  // The Modified text of an entry (made on every call; nothing keeps it).
  std::wstring DateText(const TFileInfo& entry) const;

  explicit FileListModel(Services services);

  const TFlieInfoArr& Entries() const { return entries_; }
  TFlieInfoArr& Entries() { return entries_; }
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  // The memory the remembered name order holds (see InStrictOrder).
  size_t RememberedOrderBytes() const { return orderPrints_.capacity() * sizeof(uint64_t); }
  const TFileInfo* Entry(int index) const;  // nullptr at or beyond EntryCount
  TFileInfo* Entry(int index);

  int SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return sortDescending_; }
  void SetSortDescending(bool value) { sortDescending_ = value; }
  bool SortEnabled() const { return sortEnabled_; }
  void SetSortEnabled(bool value) { sortEnabled_ = value; }
  // When set, a scan keeps only items whose own name matches the mask piece (MatchesMaskPiece),
  // dropping what the platform's search found through a short 8.3 alias.
  bool StrictMask() const { return strictMask_; }
  void SetStrictMask(bool value) { strictMask_ = value; }
  int ArrowColumn() const { return arrowColumn_; }

  // Empties the entries; the array keeps its capacity, at least 500 records.
  void Clear();
  // Lists the matching items of `folder` (with trailing backslash) + `pattern`; true when it
  // added an entry.
  bool ScanPattern(const std::wstring& folder, const std::wstring& pattern, uint32_t attributeMask,
                   bool parentDirEnabled);
  // The folder view of a rebuild: folders first when asked, then every piece of the mask.
  void ScanFolder(const std::wstring& directory, std::wstring_view mask, TFileType fileType, bool showFolders,
                  bool parentDirEnabled);
  void AppendEntry(TFileInfo entry);
  // Changes of one file that a caller made itself (a rename), applied without reading the folder
  // again. Each answers false, and changes nothing, unless the entries then equal what a rebuild
  // (a scan and FinishRebuild) would give; the caller then rebuilds.
  // The entry of `path` leaves the list.
  bool RemovePath(std::wstring_view path);
  // `item`, found in `folder` (with trailing backslash), joins the list of the last scan of
  // `folder` with `mask` and `fileType`, in its sorted place. Only files of a single-piece mask
  // whose own name matches it, in a list sorted as a rebuild leaves it.
  bool InsertFound(const std::wstring& folder, const FoundItem& item, std::wstring_view mask, TFileType fileType);
  // The final step of every rebuild: sort by Name as a click on column 0 would.
  void FinishRebuild(int columnCount);
  // Copies of the entries that hold shell answers (those shown so far; usually a screenful).
  TFlieInfoArr ShellAnswers() const;
  // Gives entries that did not change since `previous` (same folder, name, attributes, size and
  // time) the shell answers (icon, type name) they had there.
  void KeepShellAnswers(const TFlieInfoArr& previous);
  // One number per entry, in row order, for what its row shows (name, kind, attributes, size,
  // time): a list kept before a rebuild tells which rows the rebuild changed (RowsChangedFrom).
  // Eight bytes a row, so that a large folder is not held twice.
  std::vector<uint64_t> RowFingerprints() const;

  // The column-header click: false (nothing happens) while sorting is disabled.
  bool HandleColumnClick(int column);
  void SortEntries();
  int CompareEntries(const TFileInfo& a, const TFileInfo& b) const;

 private:
  struct SortRecord {
    const TFileInfo* entry;
    std::string key;  // the sort key of the text the column compares, when it compares text
  };
  void Grow();
  void FillEntry(TFileInfo& e, const FoundItem& item) const;
  // Whether every entry compares strictly after the one before it. Two entries that stood in
  // that order in the last name order found strict (orderPrints_) are not compared again.
  bool InStrictOrder() const;
  // Remembers the present order as strict (only ever called once InStrictOrder found it so).
  // Not with a parent entry: it keeps its place in both directions, so it does not compare in
  // one consistent order with the others, and a pair that stood in order then says nothing.
  void RememberStrictOrder();
  void QuickSort(std::vector<int>& order, const std::vector<SortRecord>& records, int left, int right) const;
  // CompareEntries, with the text comparison done on sort keys when they are given.
  int Compare(const TFileInfo& a, const TFileInfo& b, const std::string* keyA, const std::string* keyB) const;

  Services services_;
  TFlieInfoArr entries_;
  std::shared_ptr<const std::wstring> folder_;  // the folder of the last scan
  int sortColumn_ = 0;
  bool sortDescending_ = true;
  bool sortEnabled_ = true;
  bool strictMask_ = false;
  int arrowColumn_ = 0;
  // The last name order found strict, as one print (kind and name) per entry, and its direction.
  // A folder is usually read again as it was, or with one file gone or come: comparing names by
  // the locale's rules is the costliest part of a rebuild's check, and it is needed only around
  // what changed.
  std::vector<uint64_t> orderPrints_;
  bool orderDescending_ = false;
};
