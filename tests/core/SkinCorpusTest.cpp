// Replays every input of the skin and plug-in fuzzers' corpus (seeds and findings) through the same code
// the fuzzers run, so that a fixed finding stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/PluginFuzzTarget.h"
#include "tests/fuzz/SkinFuzzTargets.h"

namespace {

int Replay(const char* target, void (*body)(const uint8_t*, size_t)) {
  int count = 0;
  std::filesystem::path folder = std::filesystem::path(BRENVALE_SOURCE_DIR) / "tests" / "corpus" / target;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    SCOPED_TRACE(entry.path().filename().string());
    body(bytes.data(), bytes.size());
    ++count;
  }
  return count;
}

}  // namespace

TEST(SkinCorpus, ArchiveInputsReplayCleanly) { EXPECT_GT(Replay("skin_archive_fuzzer", &skinfuzz::FuzzArchive), 0); }

TEST(SkinCorpus, OptionsInputsReplayCleanly) { EXPECT_GT(Replay("skin_options_fuzzer", &skinfuzz::FuzzOptions), 0); }

TEST(PluginCorpus, PluginInputsReplayCleanly) { EXPECT_GT(Replay("plugin_file_fuzzer", &pluginfuzz::FuzzPluginFile), 0); }
