// Helpers of the skin tests: a folder tree held in memory, a decoder that also understands a tiny
// stand-in for JPEG files, tiny BMP and PNG files made on the spot, archives of such files, and
// the embedded skin unpacked once.
#pragma once

#include <zlib.h>

#include <map>
#include <string>
#include <vector>

#include "framework/Strings.h"
#include "pixel/BmpCodec.h"
#include "pixel/PngCodec.h"
#include "skin/EmbeddedSkins.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinArchive.h"
#include "skin/SkinFileSystem.h"

namespace skintest {

inline std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Files by full path ("C:\App\Skins\Blue.vlz"); folders are implied by the files below them
// and can be added empty.
class MemoryFileSystem : public SkinFileSystem {
 public:
  explicit MemoryFileSystem(std::wstring programFolder = L"C:\\App\\") : programFolder_(std::move(programFolder)) {}
  void Add(const std::wstring& path, std::vector<uint8_t> bytes) { files_[bv::UpperCase(path)] = {path, std::move(bytes)}; }
  void AddFolder(const std::wstring& path) { folders_.push_back(bv::UpperCase(bv::ExcludeTrailingBackslash(path))); }

  bool FileExists(const std::wstring& path) const override { return files_.count(bv::UpperCase(path)) > 0; }
  bool FolderExists(const std::wstring& path) const override {
    std::wstring prefix = bv::UpperCase(bv::IncludeTrailingBackslash(path));
    for (const auto& [key, file] : files_)
      if (key.rfind(prefix, 0) == 0) return true;
    for (const std::wstring& f : folders_)
      if (bv::IncludeTrailingBackslash(f) == prefix) return true;
    return false;
  }
  std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) const override {
    auto it = files_.find(bv::UpperCase(path));
    if (it == files_.end()) return std::nullopt;
    return it->second.second;
  }
  std::vector<SkinFolderEntry> ListFolder(const std::wstring& path) const override {
    std::wstring prefix = bv::UpperCase(bv::IncludeTrailingBackslash(path));
    std::vector<SkinFolderEntry> entries{{L".", true}, {L"..", true}};
    auto addOnce = [&](const std::wstring& name, bool folder) {
      for (const auto& e : entries)
        if (e.name == name) return;
      entries.push_back({name, folder});
    };
    auto visit = [&](const std::wstring& upperPath, const std::wstring& original) {
      if (upperPath.rfind(prefix, 0) != 0 || upperPath.size() == prefix.size()) return;
      std::wstring rest = original.substr(prefix.size());
      size_t slash = rest.find(L'\\');
      addOnce(rest.substr(0, slash), slash != std::wstring::npos);
    };
    for (const auto& [key, file] : files_) visit(key, file.first);
    for (const std::wstring& f : folders_) visit(f + L"\\", f + L"\\");
    return entries;
  }
  std::wstring ProgramFolder() const override { return programFolder_; }

 private:
  std::wstring programFolder_;
  std::map<std::wstring, std::pair<std::wstring, std::vector<uint8_t>>> files_;  // upper-cased path -> path, bytes
  std::vector<std::wstring> folders_;
};

// The portable decoder plus a stand-in for JPEG: the text "JPEG <width> <height>" decodes to a
// grey picture of that size.
class TestDecoder : public PortableImageDecoder {
 public:
  std::optional<Bitmap> Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const override {
    if (kind != ImageFileKind::ifJpeg) return PortableImageDecoder::Decode(kind, bytes);
    int width = 0, height = 0;
    std::string text(bytes.begin(), bytes.end());
    if (std::sscanf(text.c_str(), "JPEG %d %d", &width, &height) != 2 || width <= 0 || height <= 0) return std::nullopt;
    Bitmap picture(width, height, PixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.SetPixel(x, y, 0x808080);
    return picture;
  }
};

inline std::vector<uint8_t> FakeJpeg(int width, int height) {
  return Bytes("JPEG " + std::to_string(width) + " " + std::to_string(height));
}

// A picture filled with one 0xAABBGGRR value.
inline Bitmap Filled(int width, int height, PixelFormat format, uint32_t value) {
  Bitmap b(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, value);
  return b;
}

inline std::vector<uint8_t> Bmp(const Bitmap& picture) { return EncodeBmp(picture); }

// An 8-bit RGBA PNG file of a 32-bit bitmap (unfiltered rows).
inline std::vector<uint8_t> Png(const Bitmap& picture) {
  auto be32 = [](std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
  };
  auto chunk = [&](std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    be32(png, static_cast<uint32_t>(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    be32(png, static_cast<uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
  };
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  be32(header, static_cast<uint32_t>(picture.Width()));
  be32(header, static_cast<uint32_t>(picture.Height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  chunk(png, "IHDR", header);
  std::vector<uint8_t> raw;
  for (int y = 0; y < picture.Height(); ++y) {
    raw.push_back(0);
    for (int x = 0; x < picture.Width(); ++x) {
      uint32_t c = picture.GetPixel(x, y);
      raw.insert(raw.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16),
                             static_cast<uint8_t>(c >> 24)});
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(size);
  compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(size);
  chunk(png, "IDAT", packed);
  chunk(png, "IEND", {});
  return png;
}

inline std::vector<uint8_t> Archive(std::vector<SkinArchiveMember> members) { return PackSkinArchive(members); }

// The stored skin's archive, unpacked.
inline const TvlSkinConvertor& PearlMist() {
  static const TvlSkinConvertor& reader = [] () -> const TvlSkinConvertor& {
    static TvlSkinConvertor r;
    r.Source = SkinByteStream::Borrow(PearlMistArchive());
    ReadSkinArchive(r);
    return r;
  }();
  return reader;
}

}  // namespace skintest
