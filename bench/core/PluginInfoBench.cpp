// How long reading the details of 1,000 plug-in files takes: cold (an empty cache, every file
// opened and its headers and resources read) and from the cache (what a rebuild or a switch back
// to the folder costs). The files are copies of the test plug-ins. Prints figures; asserts
// nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plugininfo/PluginInfoCache.h"

namespace fs = std::filesystem;

namespace {

struct File {
  std::wstring path;
  int64_t size;
  uint64_t modified;
};

std::vector<File> MakeFolder(const fs::path& folder, int count) {
  const char* sources[] = {"x64.8bf", "x86.8bf", "both64.8bf", "nonascii.8bf", "noproperties32.8bf", "outside.8bf"};
  fs::create_directories(folder);
  std::vector<File> files;
  for (int i = 0; i < count; ++i) {
    fs::path target = folder / ("filter" + std::to_string(i) + ".8bf");
    if (!fs::exists(target))
      fs::copy_file(fs::path(BRENVALE_PLUGIN_FIXTURES) / sources[i % std::size(sources)], target);
    auto time = fs::last_write_time(target).time_since_epoch().count();
    files.push_back({target.wstring(), static_cast<int64_t>(fs::file_size(target)), static_cast<uint64_t>(time)});
  }
  return files;
}

double Milliseconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  constexpr int kFiles = 1000;
  std::vector<File> files = MakeFolder(fs::temp_directory_path() / "brenvale-plugin-bench", kFiles);
  std::vector<double> cold, cached;
  int valid = 0;
  for (int run = 0; run < 5; ++run) {
    plugininfo::PluginInfoCache cache;
    cold.push_back(Milliseconds([&] {
      for (const File& f : files) valid += cache.Get(f.path, f.size, f.modified).valid;
    }));
    cached.push_back(Milliseconds([&] {
      for (const File& f : files) valid += cache.Get(f.path, f.size, f.modified).valid;
    }));
  }
  std::sort(cold.begin(), cold.end());
  std::sort(cached.begin(), cached.end());
  std::printf("plug-in details of %d files, cold (empty cache)   median %8.3f ms   best %8.3f ms   (5 runs)\n", kFiles,
              cold[2], cold[0]);
  std::printf("plug-in details of %d files, from the cache       median %8.3f ms   best %8.3f ms   (5 runs)\n", kFiles,
              cached[2], cached[0]);
  std::printf("(%d valid answers)\n", valid);
  return 0;
}
