// The packed skin archive: reading members back to back (streams that end inside an input
// block, exact consumption), member lookup by upper-case name, the options member, corrupt and
// hostile archives, loading from a file, and the stored skin being a fresh pack of its folder.
#include <gtest/gtest.h>

#include <random>

#include "tests/core/SkinTestSupport.h"

using skintest::Archive;
using skintest::Bytes;

namespace {

std::vector<uint8_t> Le32(int32_t v) {
  std::vector<uint8_t> b;
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  return b;
}

// Reads `archive` with a reader that borrows it; answers the reader (Source kept).
std::unique_ptr<TvlSkinConvertor> Read(const std::vector<uint8_t>& archive) {
  auto reader = std::make_unique<TvlSkinConvertor>();
  reader->Source = SkinByteStream::Borrow(archive);
  ReadSkinArchive(*reader);
  return reader;
}

std::wstring ErrorOf(const std::vector<uint8_t>& archive) {
  try {
    Read(archive);
  } catch (const ESkinArchiveError& e) {
    return e.Message();
  }
  return L"";
}

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace

TEST(SkinArchive, StoredSkinHasElevenMembersAndIsConsumedExactly) {
  std::span<const uint8_t> bytes = PearlMistArchive();
  TvlSkinConvertor reader;
  reader.Source = SkinByteStream::Borrow(bytes);
  ReadSkinArchive(reader);
  EXPECT_EQ(reader.Source->Position(), bytes.size());
  EXPECT_EQ(reader.ImageCount, 10);
  ASSERT_TRUE(reader.Options.has_value());
  std::vector<std::string> names;
  for (const TvlImageItem& item : reader.ImageData) names.push_back(item.MemberName);
  EXPECT_EQ(names, (std::vector<std::string>{"ButtonHuge.bmp", "Master.bmp", "Exbor.png", "GlowBtn.png", "GlowClose.png",
                                              "GlowH.png", "GlowMax.png", "GlowMin.png", "GlowNorm.png", "GlowWhite.png"}));
  EXPECT_TRUE(reader.ImageData[0].IsBitmap);
  EXPECT_FALSE(reader.ImageData[2].IsBitmap);
  // The options member comes first, and every stream uses zlib's default compression (78 9C).
  EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 23), "Options.dat");
  EXPECT_EQ(bytes[27], 0x78);
  EXPECT_EQ(bytes[28], 0x9C);
}

TEST(SkinArchive, StoredSkinIsAFreshPackOfItsFolder) {
  std::vector<SkinArchiveMember> members = ReadSkinFolder(std::string(BRENVALE_SOURCE_DIR) + "/skins/PearlMist");
  ASSERT_EQ(members.size(), 11u);
  EXPECT_EQ(members[0].name, "Options.dat");
  std::vector<uint8_t> packed = PackSkinArchive(members);
  std::span<const uint8_t> embedded = PearlMistArchive();
  EXPECT_TRUE(std::equal(packed.begin(), packed.end(), embedded.begin(), embedded.end()))
      << "skins/PearlMist.vlz is out of date: run tools/make-pearlmist.sh";
}

TEST(SkinArchive, StreamEndingInsideAnInputBlockLeavesTheNextMemberInPlace) {
  // The first stream is longer than one 65536-byte block and ends inside the second one; the
  // second member must still be read from the byte after the first stream's trailer.
  std::vector<uint8_t> big = RandomBytes(100000, 7);
  std::vector<uint8_t> archive = Archive({{"Big.bmp", big}, {"Options.dat", Bytes("[FORM]\r\nCOLOR=1\r\n")}, {"b.png", Bytes("x")}});
  auto reader = Read(archive);
  ASSERT_EQ(reader->ImageData.size(), 2u);
  EXPECT_EQ(reader->ImageData[0].Data, big);
  EXPECT_EQ(reader->ImageData[1].MemberName, "b.png");
  EXPECT_EQ(reader->ImageData[1].Data, Bytes("x"));
  EXPECT_EQ(*reader->Options, Bytes("[FORM]\r\nCOLOR=1\r\n"));
  EXPECT_EQ(reader->Source->Position(), archive.size());
}

TEST(SkinArchive, MembersAreFoundByTheirUpperCaseName) {
  auto reader = Read(Archive({{"Options.dat", Bytes("")}, {"Master.bmp", Bytes("m")}, {"Glow.PNG", Bytes("g")}}));
  const struct {
    const char* asked;
    const char* found;
  } cases[] = {{"MASTER.BMP", "Master.bmp"}, {"GLOW.PNG", "Glow.PNG"}, {"master.bmp", nullptr}, {"Master.bmp", nullptr},
               {"TL.BMP", nullptr}};
  for (const auto& c : cases) {
    const TvlImageItem* item = FindMember(*reader, c.asked);
    if (c.found) {
      ASSERT_NE(item, nullptr) << c.asked;
      EXPECT_EQ(item->MemberName, c.found);
    } else {
      EXPECT_EQ(item, nullptr) << c.asked;
    }
  }
}

TEST(SkinArchive, OptionsMemberNameIgnoresCase) {
  for (const char* name : {"Options.dat", "OPTIONS.DAT", "options.dat"}) {
    auto reader = Read(Archive({{"a.bmp", Bytes("a")}, {name, Bytes("[X]")}}));
    ASSERT_TRUE(reader->Options.has_value()) << name;
    EXPECT_EQ(*reader->Options, Bytes("[X]"));
    EXPECT_EQ(reader->ImageData.size(), 1u);
    EXPECT_EQ(reader->ImageCount, 1);
  }
}

TEST(SkinArchive, CountZeroOrNegativeReadsNothing) {
  for (int32_t count : {0, -1, -100}) {
    std::vector<uint8_t> archive = Bytes("VLzf");
    std::vector<uint8_t> c = Le32(count);
    archive.insert(archive.end(), c.begin(), c.end());
    auto reader = Read(archive);
    EXPECT_TRUE(reader->ImageData.empty());
    EXPECT_FALSE(reader->Options.has_value());
    EXPECT_EQ(reader->ImageCount, count - 1);
  }
}

TEST(SkinArchive, WrongMagicClearsTheReaderAndSaysSo) {
  std::vector<uint8_t> archive = Archive({{"Options.dat", Bytes("x")}});
  archive[0] = 'X';
  TvlSkinConvertor reader;
  reader.Options = Bytes("left over");
  reader.Source = SkinByteStream::Borrow(archive);
  try {
    ReadSkinArchive(reader);
    FAIL() << "no error";
  } catch (const ESkinArchiveError& e) {
    EXPECT_EQ(e.Message(), L"Loaded data is not packed Velour file");
  }
  EXPECT_FALSE(reader.Options.has_value());
  EXPECT_FALSE(reader.Source.has_value());
}

TEST(SkinArchive, CorruptOrHostileArchivesRaiseErrorsBeforeAllocating) {
  std::vector<uint8_t> good = Archive({{"Options.dat", Bytes("[FORM]")}});
  auto withHeader = [](int32_t count, int32_t nameLength, std::string name, int32_t size, std::vector<uint8_t> rest) {
    std::vector<uint8_t> a = Bytes("VLzf");
    for (auto part : {Le32(count), Le32(nameLength), Bytes(name), Le32(size), rest}) a.insert(a.end(), part.begin(), part.end());
    return a;
  };
  std::vector<uint8_t> stream = good;  // "VLzf", count, length 11, "Options.dat", size 6, stream
  std::vector<uint8_t> zlibStream(stream.begin() + 4 + 4 + 4 + 11 + 4, stream.end());
  std::vector<uint8_t> damaged = good;
  damaged[good.size() - 6] ^= 0x55;
  std::vector<uint8_t> cut(good.begin(), good.end() - 3);
  const struct {
    const char* what;
    std::vector<uint8_t> archive;
  } cases[] = {
      {"negative name length", withHeader(1, -5, "", 6, zlibStream)},
      {"huge name length", withHeader(1, 0x7FFFFFFF, "", 6, zlibStream)},
      {"name longer than the data", withHeader(1, 50, "Options.dat", 6, zlibStream)},
      {"negative size", withHeader(1, 11, "Options.dat", -1, zlibStream)},
      {"huge size", withHeader(1, 11, "Options.dat", 0x7FFFFFF0, zlibStream)},
      {"recorded size too large", withHeader(1, 11, "Options.dat", 7, zlibStream)},
      {"recorded size too small", withHeader(1, 11, "Options.dat", 5, zlibStream)},
      {"count beyond the data", withHeader(1000000, 11, "Options.dat", 6, zlibStream)},
      {"second member missing", withHeader(2, 11, "Options.dat", 6, zlibStream)},
      {"damaged stream", damaged},
      {"stream cut short", cut},
      {"magic only", Bytes("VLzf")},
  };
  for (const auto& c : cases) EXPECT_FALSE(ErrorOf(c.archive).empty()) << c.what;
  EXPECT_TRUE(ErrorOf(good).empty());
}

TEST(SkinArchive, LoadArchiveFileReadsAnExistingFileOnly) {
  skintest::MemoryFileSystem files;
  files.Add(L"C:\\Skins\\Blue.vlz", Archive({{"Options.dat", Bytes("[FORM]")}, {"M.bmp", Bytes("m")}}));
  std::unique_ptr<TvlSkinConvertor> reader;
  LoadArchiveFile(files, L"C:\\Skins\\Missing.vlz", reader, true);
  EXPECT_EQ(reader, nullptr);

  LoadArchiveFile(files, L"C:\\Skins\\Blue.vlz", reader, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->ImageData.size(), 1u);
  EXPECT_FALSE(reader->Source.has_value());

  // An existing reader is cleared and reused; the source stays when asked.
  reader->ImageData.push_back({"stale", false, {}});
  LoadArchiveFile(files, L"C:\\Skins\\Blue.vlz", reader, false);
  EXPECT_EQ(reader->ImageData.size(), 1u);
  EXPECT_TRUE(reader->Source.has_value());
  Clear(*reader);
  EXPECT_TRUE(reader->ImageData.empty());
  EXPECT_FALSE(reader->Options.has_value());
  EXPECT_FALSE(reader->Source.has_value());
}
