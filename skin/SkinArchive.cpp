// See SkinArchive.h.
#include "skin/SkinArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "framework/Strings.h"
#include "skin/SkinFileSystem.h"

namespace {

// The input block the inflater reads at a time; whatever it read past a stream's end goes back.
constexpr size_t kInflateBlock = 0x10000;
// Limits far above any real skin, checked before anything is allocated.
constexpr int32_t kMaxNameLength = 1024;
constexpr int32_t kMaxMemberSize = 64 << 20;
constexpr size_t kMaxArchiveInflated = size_t(256) << 20;
// The smallest member: name length, size and a zlib stream of an empty file (8 bytes).
constexpr size_t kMinMemberBytes = 4 + 4 + 8;

int32_t ReadInt32(SkinByteStream& source, const char* what) {
  uint8_t b[4];
  if (source.Read(b, 4) != 4) throw ESkinArchiveError(L"Skin archive ends inside a member's " + bv::Utf8ToWide(what));
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                              (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

// Inflates one member stream of exactly `size` bytes from the source's position. Input is taken
// in blocks; on the stream's end the unread rest of the block is given back, so the source then
// stands on the first byte after the stream's Adler-32 trailer.
std::vector<uint8_t> InflateMember(SkinByteStream& source, size_t size) {
  struct Inflater {
    z_stream z{};
    Inflater() {
      if (inflateInit(&z) != Z_OK) throw ESkinArchiveError(L"Skin archive: the decompressor cannot start");
    }
    ~Inflater() { inflateEnd(&z); }
  } inflater;
  z_stream& z = inflater.z;

  std::vector<uint8_t> out;
  // Grow with the data that really arrives: a hostile size costs nothing until it is inflated.
  out.reserve(std::min<size_t>(size, kInflateBlock));
  std::vector<uint8_t> block(kInflateBlock);
  uint8_t overflow = 0;  // a one-byte window that catches output beyond the recorded size
  bool needInput = true;
  for (;;) {
    if (needInput) {
      size_t got = source.Read(block.data(), block.size());
      if (got == 0) throw ESkinArchiveError(L"Skin archive: a compressed member ends early");
      z.next_in = block.data();
      z.avail_in = static_cast<uInt>(got);
    }
    size_t done = out.size();
    if (done < size) {
      out.resize(std::min(size, std::max(done * 2, done + kInflateBlock)));
      z.next_out = out.data() + done;
      z.avail_out = static_cast<uInt>(out.size() - done);
    } else {
      z.next_out = &overflow;
      z.avail_out = 1;
    }
    int status = inflate(&z, Z_NO_FLUSH);
    if (done < size) out.resize(out.size() - z.avail_out);
    else if (z.avail_out == 0) throw ESkinArchiveError(L"Skin archive: a member is longer than its recorded size");
    if (status == Z_STREAM_END) {
      if (out.size() != size) throw ESkinArchiveError(L"Skin archive: a member is shorter than its recorded size");
      source.Seek(source.Position() - z.avail_in);
      return out;
    }
    if (status != Z_OK && !(status == Z_BUF_ERROR && z.avail_in == 0))
      throw ESkinArchiveError(L"Skin archive: a compressed member is damaged");
    // Output room left over with no input left means the stream wants more input; a full output
    // window may still hold pending data, so that case first gets more room.
    needInput = z.avail_in == 0 && z.avail_out > 0;
  }
}

}  // namespace

SkinByteStream SkinByteStream::Borrow(std::span<const uint8_t> bytes) {
  SkinByteStream stream;
  stream.view_ = bytes;
  return stream;
}

SkinByteStream::SkinByteStream(SkinByteStream&& other) noexcept { *this = std::move(other); }

SkinByteStream& SkinByteStream::operator=(SkinByteStream&& other) noexcept {
  if (this != &other) {
    bool owned = !other.owned_.empty();
    owned_ = std::move(other.owned_);
    view_ = owned ? std::span<const uint8_t>(owned_) : other.view_;
    position_ = other.position_;
    other.owned_.clear();
    other.view_ = {};
    other.position_ = 0;
  }
  return *this;
}

size_t SkinByteStream::Read(uint8_t* target, size_t count) {
  size_t n = std::min(count, Remaining());
  if (n) std::memcpy(target, view_.data() + position_, n);
  position_ += n;
  return n;
}

TvlSkinConvertor::~TvlSkinConvertor() { Clear(*this); }

void Clear(TvlSkinConvertor& reader) {
  while (!reader.ImageData.empty()) reader.ImageData.pop_back();
  reader.Options.reset();
  reader.Source.reset();
}

void ReadSkinArchive(TvlSkinConvertor& reader) {
  if (!reader.Source) throw ESkinArchiveError(L"Skin archive: nothing to read");
  SkinByteStream& source = *reader.Source;
  source.Seek(0);
  char magic[4];
  if (source.Read(reinterpret_cast<uint8_t*>(magic), 4) != 4 || std::string_view(magic, 4) != kSkinArchiveMagic) {
    Clear(reader);
    throw ESkinArchiveError(kNotPackedSkinMessage);
  }
  int32_t count = ReadInt32(source, "count");
  reader.ImageCount = static_cast<int32_t>(static_cast<int64_t>(count) - 1);
  if (count > 0 && static_cast<size_t>(count) > source.Remaining() / kMinMemberBytes)
    throw ESkinArchiveError(L"Skin archive: the member count does not fit the data");

  size_t inflatedTotal = 0;
  for (int32_t i = 0; i < count; ++i) {
    int32_t nameLength = ReadInt32(source, "name length");
    if (nameLength < 0 || nameLength > kMaxNameLength || static_cast<size_t>(nameLength) > source.Remaining())
      throw ESkinArchiveError(L"Skin archive: a member name length is not plausible");
    std::string name(static_cast<size_t>(nameLength), '\0');
    source.Read(reinterpret_cast<uint8_t*>(name.data()), name.size());
    int32_t size = ReadInt32(source, "size");
    if (size < 0 || size > kMaxMemberSize || inflatedTotal + static_cast<size_t>(size) > kMaxArchiveInflated)
      throw ESkinArchiveError(L"Skin archive: a member size is not plausible");
    inflatedTotal += static_cast<size_t>(size);

    std::vector<uint8_t> data = InflateMember(source, static_cast<size_t>(size));
    std::string upper = bv::UpperCaseAscii(name);
    if (upper == "OPTIONS.DAT") {
      reader.Options = std::move(data);
    } else {
      TvlImageItem item;
      size_t dot = upper.rfind('.');
      item.IsBitmap = dot != std::string::npos && upper.substr(dot) == ".BMP";
      item.MemberName = std::move(name);
      item.Data = std::move(data);
      reader.ImageData.push_back(std::move(item));
    }
  }
}

void LoadArchiveFile(const SkinFileSystem& files, const std::wstring& fileName, std::unique_ptr<TvlSkinConvertor>& reader,
                     bool freeSource) {
  if (!files.FileExists(fileName)) return;
  if (reader) Clear(*reader);
  else reader = std::make_unique<TvlSkinConvertor>();
  std::optional<std::vector<uint8_t>> bytes = files.ReadFile(fileName);
  if (!bytes) throw ESkinArchiveError(L"Cannot read the skin archive " + fileName);
  reader->Source.emplace(std::move(*bytes));
  ReadSkinArchive(*reader);
  if (freeSource) reader->Source.reset();
}

const TvlImageItem* FindMember(const TvlSkinConvertor& reader, std::string_view name) {
  // Every image member is searched, also when an archive without exactly one options member
  // makes ImageCount disagree with the members really read.
  for (const TvlImageItem& item : reader.ImageData)
    if (bv::UpperCaseAscii(item.MemberName) == name) return &item;
  return nullptr;
}

std::vector<uint8_t> PackSkinArchive(std::span<const SkinArchiveMember> members) {
  std::vector<uint8_t> out(kSkinArchiveMagic.begin(), kSkinArchiveMagic.end());
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  put32(static_cast<uint32_t>(members.size()));
  for (const SkinArchiveMember& m : members) {
    put32(static_cast<uint32_t>(m.name.size()));
    out.insert(out.end(), m.name.begin(), m.name.end());
    put32(static_cast<uint32_t>(m.data.size()));
    uLongf packedSize = compressBound(static_cast<uLong>(m.data.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, m.data.data(), static_cast<uLong>(m.data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
      throw ESkinArchiveError(L"Skin archive: compression failed");
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
  }
  return out;
}

std::vector<SkinArchiveMember> ReadSkinFolder(const std::filesystem::path& folder) {
  std::vector<SkinArchiveMember> members;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    if (!file) throw ESkinArchiveError(L"Cannot read " + entry.path().wstring());
    members.push_back({entry.path().filename().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())});
  }
  if (error) throw ESkinArchiveError(L"Cannot list " + folder.wstring());
  auto rank = [](const std::string& name) {
    std::string upper = bv::UpperCaseAscii(name);
    if (upper == "OPTIONS.DAT") return 0;
    size_t dot = upper.rfind('.');
    std::string extension = dot == std::string::npos ? "" : upper.substr(dot);
    if (extension == ".BMP") return 1;
    if (extension == ".PNG") return 2;
    if (extension == ".JPG" || extension == ".JPEG") return 3;
    return 4;
  };
  std::sort(members.begin(), members.end(), [&](const SkinArchiveMember& a, const SkinArchiveMember& b) {
    return std::pair(rank(a.name), a.name) < std::pair(rank(b.name), b.name);
  });
  return members;
}
