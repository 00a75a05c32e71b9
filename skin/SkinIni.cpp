// See SkinIni.h.
#include "skin/SkinIni.h"

#include <charconv>
#include <limits>

#include "framework/Strings.h"

namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";
constexpr std::string_view kParentClass = "PARENTCLASS";

// Follows a section's PARENTCLASS chain, asking `read` in each section; `read` answers true when
// the value was found there.
template <class Read>
void WalkInheritance(const SkinIni& ini, std::string_view section, Read read) {
  std::vector<std::string> visited;
  std::string current(section);
  for (;;) {
    if (read(current)) return;
    visited.push_back(current);
    std::optional<std::string_view> parent = ini.Value(current, kParentClass);
    if (!parent || parent->empty() || *parent == "?" || SameSkinName(*parent, current)) return;
    for (const std::string& v : visited)
      if (SameSkinName(v, *parent)) return;
    current = std::string(*parent);
  }
}

}  // namespace

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

SkinIni SkinIni::Parse(std::string_view text) {
  SkinIni ini;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Section* open = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line = bv::TrimAscii(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string name = bv::TrimAscii(std::string_view(line).substr(1, line.size() - 2));
      open = nullptr;
      for (Section& s : ini.sections_)
        if (SameSkinName(s.name, name)) open = &s;
      if (!open) {
        ini.sections_.push_back({name, {}});
        open = &ini.sections_.back();
      }
      continue;
    }
    size_t eq = line.find('=');
    if (!open || eq == std::string::npos) continue;
    open->keys.emplace_back(bv::TrimAscii(std::string_view(line).substr(0, eq)),
                            bv::TrimAscii(std::string_view(line).substr(eq + 1)));
  }
  return ini;
}

const SkinIni::Section* SkinIni::FindSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (SameSkinName(s.name, name)) return &s;
  return nullptr;
}

std::optional<std::string_view> SkinIni::Value(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const auto& [k, v] : s->keys)
    if (SameSkinName(k, key)) return std::string_view(v);
  return std::nullopt;
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
  SkinIni merged = *this;
  for (const Section& s : over.sections_) {
    if (SameSkinName(s.name, kGlobalInfo)) continue;
    bool replaced = false;
    for (Section& mine : merged.sections_)
      if (SameSkinName(mine.name, s.name)) {
        mine = s;
        replaced = true;
        break;
      }
    if (!replaced) merged.sections_.push_back(s);
  }
  return merged;
}

int32_t ReadIniIntInherited(const SkinIni& ini, std::string_view section, std::string_view key, int32_t fallback) {
  int32_t result = -1;
  WalkInheritance(ini, section, [&](const std::string& name) {
    result = ini.ReadInteger(name, key, -1);
    return result != -1;
  });
  return result == -1 ? fallback : result;
}

std::string ReadIniStrInherited(const SkinIni& ini, std::string_view section, std::string_view key,
                                std::string_view fallback) {
  std::string result = "?";
  WalkInheritance(ini, section, [&](const std::string& name) {
    result = ini.ReadString(name, key, "?");
    return result != "?";
  });
  return result == "?" ? std::string(fallback) : result;
}
