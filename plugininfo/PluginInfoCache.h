// Answers of the plug-in reader, kept by path, size and modification time: a list rebuilt or a
// folder switched back shows the same files without reading them again, and a file that
// changed (other size or time) is read afresh. Kept apart from the file list's own entries.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "plugininfo/PluginFile.h"

namespace plugininfo {

class PluginInfoCache {
 public:
  using ReadFunction = std::function<PluginDetails(const std::wstring& path)>;

  // Reads through `read`; without one, through a FileSource on the path.
  explicit PluginInfoCache(ReadFunction read = {});

  // The details of the file at `path` with that size and modification time, read on first use.
  const PluginDetails& Get(const std::wstring& path, int64_t size, uint64_t modified);
  // Whether Get would answer without reading.
  bool Has(const std::wstring& path, int64_t size, uint64_t modified) const;
  size_t Count() const { return entries_.size(); }
  void Clear() { entries_.clear(); }

  // More entries than this and the cache starts over (a collector's folders hold a few
  // thousand filters; this bounds what a long session keeps).
  static constexpr size_t kMaxEntries = 20000;

 private:
  struct Entry {
    int64_t size = 0;
    uint64_t modified = 0;
    PluginDetails details;
  };
  ReadFunction read_;
  std::unordered_map<std::wstring, Entry> entries_;
};

}  // namespace plugininfo
