// The skin's options text as an in-memory INI file: sections and keys in file order, names
// matched without regard to case, and the inherited reads that follow a section's PARENTCLASS.
// Texts are the file's 8-bit bytes. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SkinIni {
 public:
  struct Section {
    std::string name;                                       // as written
    std::vector<std::pair<std::string, std::string>> keys;  // key and value, trimmed, in file order
  };

  SkinIni() = default;
  // Lines are trimmed; ";" starts a comment line; "[name]" opens a section; "key=value" lines
  // (split at the first "=") belong to the open section. A repeated section header continues
  // the earlier section; lines before the first section and lines without "=" are ignored.
  static SkinIni Parse(std::string_view text);

  const std::vector<Section>& Sections() const { return sections_; }
  bool Empty() const { return sections_.empty(); }
  const Section* FindSection(std::string_view name) const;
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

 private:
  std::vector<Section> sections_;
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
