// The packed skin archive ("VLzf"): a count of members, each a name, its inflated size and one
// complete zlib stream. No compressed length is stored, so the reader finds the end of every
// stream by inflating it and gives back whatever input it read ahead. TvlSkinConvertor unpacks a
// whole archive into memory for one skin load; PackSkinArchive writes one. Plain C++.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Exception.h"

class SkinFileSystem;

// A corrupt archive: wrong magic, an implausible name length, count or size, or a zlib stream
// that is damaged or does not inflate to the recorded size.
class ESkinArchiveError : public Exception {
 public:
  using Exception::Exception;
};

// An in-memory byte stream with a position. It owns its bytes, or views bytes lent by the caller
// (a stored skin's Data), which stay the caller's.
class SkinByteStream {
 public:
  SkinByteStream() = default;
  explicit SkinByteStream(std::vector<uint8_t> bytes) : owned_(std::move(bytes)), view_(owned_) {}
  static SkinByteStream Borrow(std::span<const uint8_t> bytes);
  SkinByteStream(SkinByteStream&& other) noexcept;
  SkinByteStream& operator=(SkinByteStream&& other) noexcept;
  SkinByteStream(const SkinByteStream&) = delete;
  SkinByteStream& operator=(const SkinByteStream&) = delete;

  size_t Size() const { return view_.size(); }
  size_t Position() const { return position_; }
  size_t Remaining() const { return view_.size() - position_; }
  // Positions beyond the end stop at the end.
  void Seek(size_t position) { position_ = position < view_.size() ? position : view_.size(); }
  // Copies up to `count` bytes and answers how many there were.
  size_t Read(uint8_t* target, size_t count);
  bool OwnsBytes() const { return !owned_.empty() || view_.empty(); }

 private:
  std::vector<uint8_t> owned_;
  std::span<const uint8_t> view_;
  size_t position_ = 0;
};

struct TvlImageItem {
  std::string MemberName;     // exactly as stored (case kept)
  bool IsBitmap = false;      // the name's extension, upper-cased, is ".BMP"
  std::vector<uint8_t> Data;  // the inflated member: a whole BMP, PNG or JPEG file
};

// The archive reader: one object per load.
struct TvlSkinConvertor {
  int32_t ImageCount = 0;                        // count - 1: the image members, given one options member
  std::vector<TvlImageItem> ImageData;           // image members in archive order
  std::optional<std::vector<uint8_t>> Options;   // the inflated "Options.dat"
  std::optional<SkinByteStream> Source;          // the archive being read

  TvlSkinConvertor() = default;
  TvlSkinConvertor(const TvlSkinConvertor&) = delete;
  TvlSkinConvertor& operator=(const TvlSkinConvertor&) = delete;
  ~TvlSkinConvertor();
};

constexpr std::string_view kSkinArchiveMagic = "VLzf";
constexpr const wchar_t* kNotPackedSkinMessage = L"Loaded data is not packed Velour file";

// Reads the archive from the reader's Source, which the caller has set, from position 0: fills
// ImageCount, ImageData and Options and leaves Source just after the last member. Raises
// ESkinArchiveError (after clearing the reader on a wrong magic).
void ReadSkinArchive(TvlSkinConvertor& reader);
// Frees every member (last first), the options and the source.
void Clear(TvlSkinConvertor& reader);
// When the file exists: clears `reader` (or creates one), reads the file into a new Source and
// unpacks it; frees the Source afterwards when `freeSource`. A missing file changes nothing.
void LoadArchiveFile(const SkinFileSystem& files, const std::wstring& fileName, std::unique_ptr<TvlSkinConvertor>& reader,
                     bool freeSource);
// The first image member whose name, upper-cased, equals `name` as written; nullptr when none.
const TvlImageItem* FindMember(const TvlSkinConvertor& reader, std::string_view name);

struct SkinArchiveMember {
  std::string name;
  std::vector<uint8_t> data;
};
// An archive of the members in the given order, every stream at zlib's default compression.
std::vector<uint8_t> PackSkinArchive(std::span<const SkinArchiveMember> members);
// The members of a skin folder in packing order: the options file first, then the bitmaps, PNG
// and JPEG pictures, each group by name. Raises ESkinArchiveError when a file cannot be read.
std::vector<SkinArchiveMember> ReadSkinFolder(const std::filesystem::path& folder);
