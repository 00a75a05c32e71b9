// See PluginFile.h. The layouts are those of the portable executable format: the DOS header's
// pointer to the "PE" signature, the file header, the optional header's data directories, the
// section table, the three-level resource tree (type, name, language), the property list
// (a 16-bit 1, a 32-bit version, a 32-bit count, then properties of vendor, key, id, length and
// data padded to 4 bytes, four-character codes stored as little-endian numbers) and the version
// information blocks (length, value length, type, wide key, value, children, each 4-aligned).
#include "plugininfo/PluginFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plugininfo {

namespace {

// Resources larger than this are not read: a property list or version block is a few hundred
// bytes, and a damaged size must not make us allocate or read much.
constexpr uint32_t kMaxResourceSize = 256 * 1024;
constexpr uint16_t kMaxSections = 96;
constexpr uint32_t kMaxDirectoryEntries = 4096;
constexpr uint32_t kResourceTypeVersion = 16;
constexpr int kMaxVersionDepth = 8;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// A four-character code stored as a little-endian number, as text.
std::string FourCharacters(const uint8_t* p) { return std::string{char(p[3]), char(p[2]), char(p[1]), char(p[0])}; }

struct Section {
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

// Bytes of one resource, checked against its bounds.
class Bytes {
 public:
  explicit Bytes(std::vector<uint8_t> data) : data_(std::move(data)) {}
  size_t Size() const { return data_.size(); }
  bool Has(size_t offset, size_t count) const { return offset <= data_.size() && count <= data_.size() - offset; }
  const uint8_t* At(size_t offset) const { return data_.data() + offset; }

 private:
  std::vector<uint8_t> data_;
};

// Appends UTF-16 code units to a wide string (code units as they are where wchar_t is 16 bits,
// code points where it is 32 bits).
void AppendUtf16(std::wstring& out, const uint8_t* p, size_t units) {
  for (size_t i = 0; i < units; ++i) {
    uint32_t unit = U16(p + 2 * i);
    if constexpr (sizeof(wchar_t) == 4) {
      if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
        uint32_t low = U16(p + 2 * (i + 1));
        if (low >= 0xDC00 && low < 0xE000) {
          out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
    }
    out += static_cast<wchar_t>(unit);
  }
}

class Reader {
 public:
  explicit Reader(ByteSource& source) : source_(source) {}

  PluginDetails Run() {
    PluginDetails d;
    if (!ReadHeaders(d) || !ReadResources(d)) {
      d.valid = false;
      d.loads32 = d.loads64 = false;
      return d;
    }
    Judge(d);
    return d;
  }

 private:
  bool Fail(PluginDetails& d, const wchar_t* problem) {
    if (d.problem.empty()) d.problem = problem;
    return false;
  }

  bool ReadHeaders(PluginDetails& d) {
    uint8_t dos[64];
    if (!source_.Read(0, dos, sizeof(dos)) || dos[0] != 'M' || dos[1] != 'Z')
      return Fail(d, L"not an executable file");
    uint32_t peOffset = U32(dos + 0x3C);
    uint8_t file[24];
    if (!source_.Read(peOffset, file, sizeof(file)) || std::memcmp(file, "PE\0\0", 4) != 0)
      return Fail(d, L"no executable header");
    d.machine = U16(file + 4);
    uint16_t sectionCount = U16(file + 6);
    uint16_t optionalSize = U16(file + 20);
    uint16_t characteristics = U16(file + 22);
    if (!(characteristics & 0x2000)) return Fail(d, L"not a library");
    if (sectionCount == 0 || sectionCount > kMaxSections) return Fail(d, L"damaged section table");

    std::vector<uint8_t> optional(optionalSize);
    uint64_t optionalOffset = uint64_t{peOffset} + sizeof(file);
    if (optionalSize < 2 || !source_.Read(optionalOffset, optional.data(), optional.size()))
      return Fail(d, L"truncated executable header");
    size_t directories = 0, countField = 0;
    switch (U16(optional.data())) {
      case 0x10B: countField = 92; directories = 96; break;   // 32-bit layout
      case 0x20B: countField = 108; directories = 112; break;  // 64-bit layout
      default: return Fail(d, L"unknown executable header");
    }
    if (optional.size() < countField + 4) return Fail(d, L"truncated executable header");
    uint32_t directoryCount = U32(optional.data() + countField);
    size_t resourceEntry = directories + 2 * 8;
    if (directoryCount > 2 && optional.size() >= resourceEntry + 8) {
      resourceRva_ = U32(optional.data() + resourceEntry);
      resourceSize_ = U32(optional.data() + resourceEntry + 4);
    }

    std::vector<uint8_t> table(size_t{sectionCount} * 40);
    if (!source_.Read(optionalOffset + optionalSize, table.data(), table.size()))
      return Fail(d, L"truncated section table");
    for (uint16_t i = 0; i < sectionCount; ++i) {
      const uint8_t* s = table.data() + size_t{i} * 40;
      Section section{U32(s + 12), U32(s + 16), U32(s + 20)};
      if (section.rawSize && (section.rawOffset > source_.Size() || section.rawSize > source_.Size() - section.rawOffset))
        continue;  // a section that is not (all) in the file holds nothing we can read
      sections_.push_back(section);
    }
    return true;
  }

  // The file offset of `size` bytes at `rva`, when they lie in one section's data in the file.
  std::optional<uint64_t> FileOffset(uint64_t rva, uint32_t size) const {
    for (const Section& s : sections_) {
      if (rva < s.virtualAddress) continue;
      uint64_t within = rva - s.virtualAddress;
      if (within > s.rawSize || size > s.rawSize - within) continue;
      return uint64_t{s.rawOffset} + within;
    }
    return std::nullopt;
  }

  // Reads `size` bytes at `offset` from the start of the resource tree.
  bool ReadTree(uint32_t offset, void* buffer, uint32_t size) const {
    if (offset > resourceSize_ || size > resourceSize_ - offset) return false;
    std::optional<uint64_t> at = FileOffset(uint64_t{resourceRva_} + offset, size);
    return at && source_.Read(*at, buffer, size);
  }

  struct Entry {
    bool named = false;
    uint32_t id = 0;     // when not named
    uint32_t name = 0;   // offset of the name when named
    bool directory = false;
    uint32_t target = 0;
  };

  bool ReadDirectory(uint32_t offset, std::vector<Entry>& entries) {
    uint8_t header[16];
    if (!ReadTree(offset, header, sizeof(header))) return false;
    uint32_t count = uint32_t{U16(header + 12)} + U16(header + 14);
    entriesSeen_ += count;
    if (entriesSeen_ > kMaxDirectoryEntries) return false;
    std::vector<uint8_t> raw(size_t{count} * 8);
    if (count && !ReadTree(offset + 16, raw.data(), static_cast<uint32_t>(raw.size()))) return false;
    entries.clear();
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t name = U32(raw.data() + i * 8), target = U32(raw.data() + i * 8 + 4);
      Entry e;
      e.named = name & 0x80000000u;
      (e.named ? e.name : e.id) = name & 0x7FFFFFFFu;
      e.directory = target & 0x80000000u;
      e.target = target & 0x7FFFFFFFu;
      entries.push_back(e);
    }
    return true;
  }

  std::optional<std::wstring> EntryName(const Entry& e) {
    uint8_t length[2];
    if (!ReadTree(e.name, length, 2)) return std::nullopt;
    std::vector<uint8_t> text(size_t{U16(length)} * 2);
    if (!ReadTree(e.name + 2, text.data(), static_cast<uint32_t>(text.size()))) return std::nullopt;
    std::wstring name;
    AppendUtf16(name, text.data(), U16(length));
    return name;
  }

  // The data of the first name and language under a type entry; nullopt when the tree is
  // damaged, an empty vector when the type holds no data.
  std::optional<std::vector<uint8_t>> FirstData(const Entry& type) {
    std::vector<Entry> names, languages;
    if (!type.directory || !ReadDirectory(type.target, names)) return std::nullopt;
    if (names.empty()) return std::vector<uint8_t>{};
    if (!names[0].directory || !ReadDirectory(names[0].target, languages)) return std::nullopt;
    if (languages.empty()) return std::vector<uint8_t>{};
    if (languages[0].directory) return std::nullopt;
    uint8_t entry[16];
    if (!ReadTree(languages[0].target, entry, sizeof(entry))) return std::nullopt;
    uint32_t rva = U32(entry), size = U32(entry + 4);
    if (size > kMaxResourceSize) return std::nullopt;
    std::optional<uint64_t> at = FileOffset(rva, size);
    std::vector<uint8_t> data(size);
    if (!at || !source_.Read(*at, data.data(), size)) return std::nullopt;
    return data;
  }

  bool ReadResources(PluginDetails& d) {
    if (resourceRva_ == 0 || resourceSize_ == 0) return true;  // no resources at all
    std::vector<Entry> types;
    if (!ReadDirectory(0, types)) return Fail(d, L"damaged resource directory");
    for (const Entry& type : types) {
      bool propertyList = false;
      if (type.named) {
        std::optional<std::wstring> name = EntryName(type);
        if (!name) return Fail(d, L"damaged resource directory");
        propertyList = *name == L"PIPL";
      }
      if (!propertyList && (type.named || type.id != kResourceTypeVersion)) continue;
      std::optional<std::vector<uint8_t>> data = FirstData(type);
      if (!data) return Fail(d, L"damaged resource directory");
      if (propertyList) {
        if (d.hasPropertyList) continue;
        d.hasPropertyList = true;
        if (!ReadPropertyList(Bytes(std::move(*data)), d)) return Fail(d, L"damaged property list");
      } else {
        // Version information is a description only: a damaged block leaves the texts empty.
        ReadVersion(Bytes(std::move(*data)), d);
      }
    }
    return true;
  }

  // A length-prefixed text in property data.
  static std::optional<std::string> CountedText(const Bytes& b, size_t offset, size_t length) {
    if (length < 1 || b.At(offset)[0] > length - 1) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(b.At(offset + 1)), b.At(offset)[0]);
  }
  // A zero-ended text in property data (the end of the data ends it too).
  static std::string ZeroEndedText(const Bytes& b, size_t offset, size_t length) {
    const char* p = reinterpret_cast<const char*>(b.At(offset));
    return std::string(p, strnlen(p, length));
  }

  static bool ReadPropertyList(const Bytes& b, PluginDetails& d) {
    if (!b.Has(0, 10)) return false;
    uint32_t count = U32(b.At(6));
    if (count > b.Size() / 16) return false;
    size_t at = 10;
    for (uint32_t i = 0; i < count; ++i) {
      if (!b.Has(at, 16)) return false;
      std::string key = FourCharacters(b.At(at + 4));
      uint32_t length = U32(b.At(at + 12));
      size_t data = at + 16;
      if (!b.Has(data, length)) return false;
      if (key == "kind") {
        if (length < 4) return false;
        d.kind = FourCharacters(b.At(data));
      } else if (key == "name" || key == "catg") {
        std::optional<std::string> text = CountedText(b, data, length);
        if (!text) return false;
        (key == "name" ? d.name : d.category) = *text;
      } else if (key == "wx86") {
        d.entryPoint32 = ZeroEndedText(b, data, length);
      } else if (key == "8664") {
        d.entryPoint64 = ZeroEndedText(b, data, length);
      } else if (key == "vers") {
        if (length < 4) return false;
        d.interfaceVersion = U32(b.At(data));
      }
      // The data is padded to 4 bytes; the last property's padding may be missing.
      size_t padded = (size_t{length} + 3) & ~size_t{3};
      at = b.Has(data, padded) ? data + padded : b.Size();
    }
    return true;
  }

  struct Block {
    size_t begin = 0, end = 0;  // the whole block
    std::wstring key;
    size_t value = 0;           // where the value starts
    size_t children = 0;        // where the children start
    uint16_t valueLength = 0;
    uint16_t type = 0;
  };

  static size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

  static std::optional<Block> ReadBlock(const Bytes& b, size_t at, size_t limit) {
    if (!b.Has(at, 6)) return std::nullopt;
    Block block;
    block.begin = at;
    uint16_t length = U16(b.At(at));
    block.valueLength = U16(b.At(at + 2));
    block.type = U16(b.At(at + 4));
    if (length < 6 || at + length > limit || !b.Has(at, length)) return std::nullopt;
    block.end = at + length;
    size_t key = at + 6, units = 0;
    while (key + 2 * units + 2 <= block.end && U16(b.At(key + 2 * units)) != 0) ++units;
    if (key + 2 * units + 2 > block.end) return std::nullopt;
    AppendUtf16(block.key, b.At(key), units);
    block.value = std::min(Align4(key + 2 * units + 2), block.end);
    // Text values count wide characters, binary ones bytes.
    size_t valueBytes = block.type == 1 ? size_t{block.valueLength} * 2 : block.valueLength;
    block.children = std::min(Align4(std::min(block.value + valueBytes, block.end)), block.end);
    return block;
  }

  static std::wstring TextValue(const Bytes& b, const Block& block) {
    std::wstring text;
    size_t units = 0;
    while (block.value + 2 * units + 2 <= block.end && U16(b.At(block.value + 2 * units)) != 0) ++units;
    AppendUtf16(text, b.At(block.value), units);
    return text;
  }

  static void ReadStrings(const Bytes& b, const Block& parent, int depth, PluginDetails& d) {
    if (depth > kMaxVersionDepth) return;
    for (size_t at = parent.children; at < parent.end;) {
      std::optional<Block> child = ReadBlock(b, at, parent.end);
      if (!child) return;
      if (depth == 2) {
        if (child->key == L"FileDescription" && d.description.empty()) d.description = TextValue(b, *child);
        else if (child->key == L"CompanyName" && d.company.empty()) d.company = TextValue(b, *child);
        else if (child->key == L"FileVersion" && d.fileVersion.empty()) d.fileVersion = TextValue(b, *child);
      } else if (depth == 1 || child->key == L"StringFileInfo") {
        ReadStrings(b, *child, depth + 1, d);
      }
      at = Align4(child->end);
    }
  }

  static void ReadVersion(const Bytes& b, PluginDetails& d) {
    std::optional<Block> root = ReadBlock(b, 0, b.Size());
    if (!root || root->key != L"VS_VERSION_INFO") return;
    ReadStrings(b, *root, 0, d);
    if (d.fileVersion.empty() && root->valueLength >= 52 && b.Has(root->value, 52) &&
        U32(b.At(root->value)) == 0xFEEF04BDu) {
      uint32_t high = U32(b.At(root->value + 8)), low = U32(b.At(root->value + 12));
      d.fileVersion = std::to_wstring(high >> 16) + L"." + std::to_wstring(high & 0xFFFF) + L"." +
                      std::to_wstring(low >> 16) + L"." + std::to_wstring(low & 0xFFFF);
    }
  }

  static void Judge(PluginDetails& d) {
    bool x86 = d.machine == kMachineX86, x64 = d.machine == kMachineX64;
    if (!x86 && !x64) {
      d.problem = L"made for another processor";
      return;
    }
    if (d.hasPropertyList) {
      d.loads32 = x86 && !d.entryPoint32.empty();
      d.loads64 = x64 && !d.entryPoint64.empty();
      if (!d.loads32 && !d.loads64) {
        d.problem = L"no entry point for its processor";
        return;
      }
    } else {
      d.loads32 = x86;
      d.loads64 = x64;
    }
    d.valid = true;
  }

  ByteSource& source_;
  std::vector<Section> sections_;
  uint32_t resourceRva_ = 0;
  uint32_t resourceSize_ = 0;
  uint32_t entriesSeen_ = 0;
};

}  // namespace

PluginDetails ReadPluginDetails(ByteSource& source) { return Reader(source).Run(); }

}  // namespace plugininfo
