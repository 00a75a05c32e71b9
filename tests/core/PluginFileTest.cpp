// The plug-in reader over the test plug-ins that the build makes (tests/fixtures/plugins) and over
// damaged bytes made here from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <vector>

#include "plugininfo/PluginFile.h"

using plugininfo::PluginDetails;

namespace {

std::filesystem::path Fixture(const char* name) { return std::filesystem::path(BRENVALE_PLUGIN_FIXTURES) / name; }

std::vector<uint8_t> Load(const char* name) {
  std::ifstream file(Fixture(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

PluginDetails ReadBytes(const std::vector<uint8_t>& bytes) {
  plugininfo::MemorySource source(bytes.data(), bytes.size());
  return plugininfo::ReadPluginDetails(source);
}

struct FixtureCase {
  const char* file;
  bool valid;
  bool loads32;
  bool loads64;
  bool propertyList;
  const char* name;  // code page 1252 bytes
  const char* category;
  const wchar_t* description;
};

const FixtureCase kFixtures[] = {
    {"x64.8bf", true, false, true, true, "Soft Glow", "Brenvale Test", L"Fixture x64"},
    {"x86.8bf", true, true, false, true, "Old Grain", "Brenvale Test", L"Fixture x86"},
    // Both entry points named: the executable's own machine still decides.
    {"both64.8bf", true, false, true, true, "Twin Blur", "Brenvale Test", L"Fixture both64"},
    {"both32.8bf", true, true, false, true, "Twin Blur", "Brenvale Test", L"Fixture both32"},
    {"noproperties32.8bf", true, true, false, false, "", "", L"Fixture noproperties32"},
    {"noproperties64.8bf", true, false, true, false, "", "", L"Fixture noproperties64"},
    {"nonascii.8bf", true, false, true, true, "Caf\xe9 Cr\xe8me", "\xdc" "bergang", L"Fixture nonascii"},
    {"truncated-headers.8bf", false, false, false, false, "", "", L""},
    {"truncated-resources.8bf", false, false, false, false, "", "", L""},
    {"outside.8bf", false, false, false, false, "", "", L""},
    {"notes.8bf", false, false, false, false, "", "", L""},
};

TEST(PluginFile, FixturesFromFiles) {
  for (const FixtureCase& c : kFixtures) {
    SCOPED_TRACE(c.file);
    plugininfo::FileSource source(Fixture(c.file));
    ASSERT_TRUE(source.IsOpen());
    PluginDetails d = plugininfo::ReadPluginDetails(source);
    EXPECT_EQ(d.valid, c.valid);
    EXPECT_EQ(d.problem.empty(), c.valid);
    EXPECT_EQ(d.loads32, c.loads32);
    EXPECT_EQ(d.loads64, c.loads64);
    EXPECT_EQ(d.hasPropertyList, c.propertyList);
    EXPECT_EQ(d.name, c.name);
    EXPECT_EQ(d.category, c.category);
    EXPECT_EQ(d.kind, c.propertyList ? "8BFM" : "");
    if (c.propertyList) {
      EXPECT_EQ(d.interfaceVersion, 0x00040000u);
    }
    if (c.valid) {
      EXPECT_EQ(d.description, c.description);
      EXPECT_EQ(d.company, L"Brenvale Fixtures");
      EXPECT_EQ(d.fileVersion, L"2.1.0.7");
    }
    // Headers and resources only: a few small reads, far less than the file.
    EXPECT_LE(source.ReadCount(), 24);
    EXPECT_LT(source.BytesRead(), source.Size() / 2);
  }
}

TEST(PluginFile, EntryPointsAndMachine) {
  PluginDetails both = ReadBytes(Load("both64.8bf"));
  EXPECT_EQ(both.machine, plugininfo::kMachineX64);
  EXPECT_EQ(both.entryPoint32, "PluginMain");
  EXPECT_EQ(both.entryPoint64, "PluginMain");
  EXPECT_EQ(ReadBytes(Load("x86.8bf")).machine, plugininfo::kMachineX86);
}

// Writes a little-endian number into bytes.
void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t Find(const std::vector<uint8_t>& bytes, std::string_view what) {
  auto it = std::search(bytes.begin(), bytes.end(), what.begin(), what.end());
  return it == bytes.end() ? std::string::npos : static_cast<size_t>(it - bytes.begin());
}

// Damage inside the resources: each edit of the 64-bit fixture's bytes must give a clear answer.
TEST(PluginFile, DamagedResourcesAreNotValid) {
  const std::vector<uint8_t> good = Load("x64.8bf");
  ASSERT_TRUE(ReadBytes(good).valid);
  // The first property follows the list's 10-byte head; vendor and key are stored reversed.
  size_t list = Find(good, "VNRBdnik") - 10;
  size_t name = Find(good, "eman");
  ASSERT_EQ(good[list], 1);
  ASSERT_NE(name, std::string::npos);
  struct Edit {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> apply;
  };
  const Edit edits[] = {
      {"property count beyond the data", [&](auto& b) { Put32(b, list + 6, 0x10000); }},
      {"property length beyond the data", [&](auto& b) { Put32(b, name + 8, 0x7FFFFFF0); }},
      {"text length beyond its property", [&](auto& b) { b[name + 12] = 200; }},
      {"no signature", [&](auto& b) { b[Find(b, std::string_view("PE\0\0", 4))] = 'X'; }},
      {"header pointer beyond the file", [&](auto& b) { Put32(b, 0x3C, 0xFFFFFFF0u); }},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.what);
    std::vector<uint8_t> bytes = good;
    e.apply(bytes);
    PluginDetails d = ReadBytes(bytes);
    EXPECT_FALSE(d.valid);
    EXPECT_FALSE(d.problem.empty());
    EXPECT_FALSE(d.loads32 || d.loads64);
  }
}

// Every length the file could be cut to answers without reading outside it.
TEST(PluginFile, EveryTruncationAnswers) {
  const std::vector<uint8_t> good = Load("nonascii.8bf");
  for (size_t size = 0; size < good.size(); size += 7) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    PluginDetails d = ReadBytes(cut);
    if (d.valid) {
      EXPECT_EQ(d.name, "Caf\xe9 Cr\xe8me");
    }
  }
}

}  // namespace
