// See PluginInfoCache.h.
#include "plugininfo/PluginInfoCache.h"

namespace plugininfo {

namespace {

PluginDetails ReadFile(const std::wstring& path) {
  FileSource source{std::filesystem::path(path)};
  if (!source.IsOpen()) {
    PluginDetails d;
    d.problem = L"the file cannot be read";
    return d;
  }
  return ReadPluginDetails(source);
}

}  // namespace

PluginInfoCache::PluginInfoCache(ReadFunction read) : read_(read ? std::move(read) : ReadFunction(&ReadFile)) {}

bool PluginInfoCache::Has(const std::wstring& path, int64_t size, uint64_t modified) const {
  auto it = entries_.find(path);
  return it != entries_.end() && it->second.size == size && it->second.modified == modified;
}

const PluginDetails& PluginInfoCache::Get(const std::wstring& path, int64_t size, uint64_t modified) {
  auto it = entries_.find(path);
  if (it != entries_.end() && it->second.size == size && it->second.modified == modified) return it->second.details;
  if (it == entries_.end() && entries_.size() >= kMaxEntries) entries_.clear();
  Entry& entry = entries_[path];
  entry.size = size;
  entry.modified = modified;
  entry.details = read_(path);
  return entry.details;
}

}  // namespace plugininfo
