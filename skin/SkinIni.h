// The skin's options text as an in-memory INI file: sections and keys in file order, names
// matched without regard to case, and the inherited reads that follow a section's PARENTCLASS.
// Texts are the file's 8-bit bytes. Sections and keys are found through an index and inherited
// reads remember what they found, so that loading takes time in proportion to the text however
// many sections and however long the parent chains. Plain C++; one object is used by one
// thread at a time (inherited reads fill caches).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class ParentChainMemo;

// Options texts beyond these counts are refused (EConvertError): no skin comes near them.
constexpr size_t kMaxSkinIniSections = size_t(1) << 17;  // 131072
constexpr size_t kMaxSkinIniKeys = size_t(1) << 20;      // 1048576
struct SkinIniLimits {
  size_t sections = kMaxSkinIniSections;
  size_t keys = kMaxSkinIniKeys;  // in all sections together
};

class SkinIni {
 public:
  struct Section {
    std::string name;                                       // as written
    std::vector<std::pair<std::string, std::string>> keys;  // key and value, trimmed, in file order
  };

  SkinIni();
  SkinIni(const SkinIni& other);
  SkinIni(SkinIni&& other) noexcept;
  SkinIni& operator=(const SkinIni& other);
  SkinIni& operator=(SkinIni&& other) noexcept;
  ~SkinIni();
  // Lines are trimmed; ";" starts a comment line; "[name]" opens a section; "key=value" lines
  // (split at the first "=") belong to the open section. A repeated section header continues
  // the earlier section; lines before the first section and lines without "=" are ignored.
  // Raises EConvertError for more sections or keys than the limits allow.
  static SkinIni Parse(std::string_view text, SkinIniLimits limits = {});

  const std::vector<Section>& Sections() const { return sections_; }
  bool Empty() const { return sections_.empty(); }
  const Section* FindSection(std::string_view name) const;
  // The section's position in Sections(), or -1.
  int32_t SectionIndex(std::string_view name) const;
  // The value of the first line with that key, or nullopt.
  std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Decimal, or hexadecimal after "0x" or "$"; anything else (or a value that does not fit 32
  // bits) gives the fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // "TRUE" in any case is true; other text is false; a missing key gives the fallback.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // A real number with "." as decimal separator.
  double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

  // This text with the sections of `over` (except "GLOBALINFO") replacing the sections of the
  // same name in place, or added at the end.
  SkinIni MergedWith(const SkinIni& over) const;

  // The section (by position) whose value for `key` an inherited read takes: the first on the
  // PARENTCLASS chain from `section` where `integer` reads a number other than -1 (or, for
  // texts, finds a value other than "?"); -1 when there is none.
  int32_t InheritedSource(int32_t section, std::string_view key, bool integer) const;
  // The value that an inherited read of `key` from the section takes (the value at
  // InheritedSource), or nullopt.
  std::optional<std::string_view> InheritedValue(int32_t section, std::string_view key, bool integer) const;

 private:
  struct InheritedReads;
  // InheritedSource, with what the reads of that key found so far (set when the section exists).
  int32_t FindInherited(int32_t section, std::string_view key, bool integer, const InheritedReads*& reads) const;
  void Reindex();
  std::optional<std::string_view> ValueAt(int32_t section, std::string_view upperKey) const;

  std::vector<Section> sections_;
  std::unordered_map<std::string, int32_t> sectionIndex_;  // upper-case name to position
  // Position (4 bytes) and upper-case key to the first line of that key in the section.
  std::unordered_map<std::string, uint32_t> keyIndex_;
  mutable std::string probe_;  // the key of a lookup, kept to spare an allocation per read
  std::vector<int32_t> parents_;  // per section: the PARENTCLASS section's position, or -1
  // Per upper-case key: the sections that hold it, each with the position of its first line.
  std::unordered_map<std::string, std::vector<std::pair<int32_t, uint32_t>>> keySections_;
  // Inherited reads found so far, per upper-case key: integer reads, then text reads.
  mutable std::unordered_map<std::string, std::unique_ptr<InheritedReads>> inheritedCache_[2];
  // The section last found by name: reads of one section come one after the other.
  mutable std::string lastSectionName_;
  mutable int32_t lastSectionIndex_ = -1;
};

// The integer of a section, or, when the key is missing or -1, of the section named by its
// PARENTCLASS, and so on up the chain; `fallback` when the chain ends with -1. A chain that comes
// back to a section it has visited ends there.
int32_t ReadIniIntInherited(const SkinIni& ini, std::string_view section, std::string_view key, int32_t fallback);
// The same for texts, with "?" standing for missing.
std::string ReadIniStrInherited(const SkinIni& ini, std::string_view section, std::string_view key,
                                std::string_view fallback);

// Text-to-number rules shared with the value syntaxes of image items.
std::optional<int32_t> ParseSkinInteger(std::string_view text);
bool SameSkinName(std::string_view a, std::string_view b);  // ASCII case-insensitive
