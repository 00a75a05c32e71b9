// See ByteSource.h.
#include "plugininfo/ByteSource.h"

#include <cstring>

namespace plugininfo {

bool MemorySource::Read(uint64_t offset, void* buffer, size_t count) {
  if (offset > size_ || count > size_ - offset) return false;
  if (count) std::memcpy(buffer, data_ + offset, count);
  return true;
}

FileSource::FileSource(const std::filesystem::path& path) {
  // A small buffer: the reader asks for a few hundred bytes at scattered offsets.
  file_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  file_.open(path, std::ios::binary);
  if (!file_) return;
  file_.seekg(0, std::ios::end);
  std::streamoff end = file_.tellg();
  if (end < 0) return;
  size_ = static_cast<uint64_t>(end);
  open_ = true;
}

bool FileSource::Read(uint64_t offset, void* buffer, size_t count) {
  if (!open_ || offset > size_ || count > size_ - offset) return false;
  ++reads_;
  bytesRead_ += count;
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
  return static_cast<size_t>(file_.gcount()) == count;
}

}  // namespace plugininfo
