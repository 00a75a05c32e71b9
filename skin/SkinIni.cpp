// See SkinIni.h.
#include "skin/SkinIni.h"

#include <charconv>
#include <limits>

#include "framework/Exception.h"
#include "framework/Strings.h"
#include "skin/ParentChainMemo.h"

namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";
constexpr std::string_view kParentClass = "PARENTCLASS";

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return upper;
}

// The key of keyIndex_: the section's position in four bytes, then the upper-case key.
void MakeKey(std::string& out, int32_t section, std::string_view key) {
  out.assign(reinterpret_cast<const char*>(&section), sizeof section);
  out.append(key);
  for (size_t i = sizeof section; i < out.size(); ++i)
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 32);
}

[[noreturn]] void TooLarge(const char* what, size_t limit) {
  throw EConvertError(L"The skin options hold more than " + std::to_wstring(limit) + L" " +
                      bv::AnsiToWide(what));
}

}  // namespace

// What inherited reads of one key found so far, and where each section holds the key.
struct SkinIni::InheritedReads {
  static constexpr uint32_t kNoLine = UINT32_MAX;
  explicit InheritedReads(size_t count) : memo(count), lines(count, kNoLine) {}
  ParentChainMemo memo;
  std::vector<uint32_t> lines;  // per section: the position of the key's first line, or kNoLine
};

SkinIni::SkinIni() = default;
SkinIni::SkinIni(const SkinIni& other) : sections_(other.sections_) { Reindex(); }
SkinIni::SkinIni(SkinIni&& other) noexcept = default;
SkinIni& SkinIni::operator=(const SkinIni& other) {
  if (this != &other) {
    sections_ = other.sections_;
    Reindex();
  }
  return *this;
}
SkinIni& SkinIni::operator=(SkinIni&& other) noexcept = default;
SkinIni::~SkinIni() = default;

void SkinIni::Reindex() {
  sectionIndex_.clear();
  keyIndex_.clear();
  keySections_.clear();
  inheritedCache_[0].clear();
  inheritedCache_[1].clear();
  lastSectionName_.clear();
  lastSectionIndex_ = -1;
  sectionIndex_.reserve(sections_.size());
  size_t keys = 0;
  for (const Section& section : sections_) keys += section.keys.size();
  keyIndex_.reserve(keys);
  std::string key;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const int32_t position = static_cast<int32_t>(i);
    sectionIndex_.emplace(Upper(sections_[i].name), position);
    const auto& lines = sections_[i].keys;
    for (size_t k = 0; k < lines.size(); ++k) {
      MakeKey(key, position, lines[k].first);
      // The first line of a key counts.
      if (keyIndex_.emplace(key, static_cast<uint32_t>(k)).second)
        keySections_[key.substr(sizeof position)].emplace_back(position, static_cast<uint32_t>(k));
    }
  }
  parents_.assign(sections_.size(), -1);
  for (size_t i = 0; i < sections_.size(); ++i) {
    std::optional<std::string_view> parent = ValueAt(static_cast<int32_t>(i), kParentClass);
    if (parent && !parent->empty() && *parent != "?") parents_[i] = SectionIndex(*parent);
  }
}

std::optional<std::string_view> SkinIni::ValueAt(int32_t section, std::string_view key) const {
  MakeKey(probe_, section, key);
  auto found = keyIndex_.find(probe_);
  if (found == keyIndex_.end()) return std::nullopt;
  return std::string_view(sections_[static_cast<size_t>(section)].keys[found->second].second);
}

bool SameSkinName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::optional<int32_t> ParseSkinInteger(std::string_view text) {
  // Values up to 0xFFFFFFFF are 32-bit patterns (system colours are written that way).
  std::optional<int64_t> v = bv::ParseInteger(text);
  if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<uint32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(*v));
}

SkinIni SkinIni::Parse(std::string_view text, SkinIniLimits limits) {
  SkinIni ini;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Section* open = nullptr;
  std::unordered_map<std::string, size_t> opened;  // upper-case name to position
  size_t keys = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line = bv::TrimAscii(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string name = bv::TrimAscii(std::string_view(line).substr(1, line.size() - 2));
      auto [at, added] = opened.emplace(Upper(name), ini.sections_.size());
      if (added) {
        if (ini.sections_.size() == limits.sections) TooLarge("sections", limits.sections);
        ini.sections_.push_back({name, {}});
      }
      open = &ini.sections_[at->second];
      continue;
    }
    size_t eq = line.find('=');
    if (!open || eq == std::string::npos) continue;
    if (++keys > limits.keys) TooLarge("keys", limits.keys);
    open->keys.emplace_back(bv::TrimAscii(std::string_view(line).substr(0, eq)),
                            bv::TrimAscii(std::string_view(line).substr(eq + 1)));
  }
  ini.Reindex();
  return ini;
}

int32_t SkinIni::SectionIndex(std::string_view name) const {
  if (lastSectionIndex_ >= 0 && static_cast<size_t>(lastSectionIndex_) < sections_.size() && name == lastSectionName_)
    return lastSectionIndex_;
  auto found = sectionIndex_.find(Upper(name));
  if (found == sectionIndex_.end()) return -1;
  lastSectionName_.assign(name);
  lastSectionIndex_ = found->second;
  return found->second;
}

const SkinIni::Section* SkinIni::FindSection(std::string_view name) const {
  int32_t index = SectionIndex(name);
  return index < 0 ? nullptr : &sections_[static_cast<size_t>(index)];
}

std::optional<std::string_view> SkinIni::Value(std::string_view section, std::string_view key) const {
  int32_t index = SectionIndex(section);
  if (index < 0) return std::nullopt;
  return ValueAt(index, key);
}

std::string SkinIni::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::optional<std::string_view> v = Value(section, key);
  return std::string(v ? *v : fallback);
}

int32_t SkinIni::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  std::optional<std::string_view> v = Value(section, key);
  if (!v) return fallback;
  return ParseSkinInteger(*v).value_or(fallback);
}

bool SkinIni::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  std::optional<std::string_view> v = Value(section, key);
  if (!v) return fallback;
  return SameSkinName(*v, "TRUE");
}

double SkinIni::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  std::optional<std::string_view> v = Value(section, key);
  if (!v || v->empty()) return fallback;
  double result = 0;
  const char* first = v->data();
  if (*first == '+') ++first;
  auto [end, error] = std::from_chars(first, v->data() + v->size(), result);
  if (error != std::errc() || end != v->data() + v->size()) return fallback;
  return result;
}

SkinIni SkinIni::MergedWith(const SkinIni& over) const {
  std::vector<Section> merged = sections_;
  std::unordered_map<std::string, size_t> added;  // sections of `over` appended so far
  for (const Section& s : over.sections_) {
    if (SameSkinName(s.name, kGlobalInfo)) continue;
    std::string upper = Upper(s.name);
    if (int32_t mine = SectionIndex(s.name); mine >= 0) {
      merged[static_cast<size_t>(mine)] = s;
    } else if (auto again = added.find(upper); again != added.end()) {
      merged[again->second] = s;
    } else {
      added.emplace(std::move(upper), merged.size());
      merged.push_back(s);
    }
  }
  SkinIni result;
  result.sections_ = std::move(merged);
  result.Reindex();
  return result;
}

int32_t SkinIni::InheritedSource(int32_t section, std::string_view key, bool integer) const {
  const InheritedReads* reads = nullptr;
  return FindInherited(section, key, integer, reads);
}

int32_t SkinIni::FindInherited(int32_t section, std::string_view key, bool integer, const InheritedReads*& found) const {
  if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return -1;
  std::string upper = Upper(key);
  std::unique_ptr<InheritedReads>& reads = inheritedCache_[integer ? 0 : 1][upper];
  if (!reads) {
    reads = std::make_unique<InheritedReads>(sections_.size());
    if (auto holders = keySections_.find(upper); holders != keySections_.end())
      for (const auto& [holder, line] : holders->second) reads->lines[static_cast<size_t>(holder)] = line;
  }
  found = reads.get();
  auto parent = [this](int32_t s) { return parents_[static_cast<size_t>(s)]; };
  return reads->memo.Find(section, parent, [&](int32_t s) {
    uint32_t line = reads->lines[static_cast<size_t>(s)];
    if (line == InheritedReads::kNoLine) return false;
    std::string_view value = sections_[static_cast<size_t>(s)].keys[line].second;
    if (integer) return ParseSkinInteger(value).value_or(-1) != -1;
    return value != "?";
  });
}

std::optional<std::string_view> SkinIni::InheritedValue(int32_t section, std::string_view key, bool integer) const {
  const InheritedReads* reads = nullptr;
  int32_t source = FindInherited(section, key, integer, reads);
  if (source < 0) return std::nullopt;
  return std::string_view(sections_[static_cast<size_t>(source)].keys[reads->lines[static_cast<size_t>(source)]].second);
}

int32_t ReadIniIntInherited(const SkinIni& ini, std::string_view section, std::string_view key, int32_t fallback) {
  std::optional<std::string_view> value = ini.InheritedValue(ini.SectionIndex(section), key, true);
  return value ? ParseSkinInteger(*value).value_or(fallback) : fallback;
}

std::string ReadIniStrInherited(const SkinIni& ini, std::string_view section, std::string_view key,
                                std::string_view fallback) {
  std::optional<std::string_view> value = ini.InheritedValue(ini.SectionIndex(section), key, false);
  return std::string(value ? *value : fallback);
}
