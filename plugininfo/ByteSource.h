// Where the plug-in reader gets its bytes: a block of memory (tests, the fuzzer) or a file read
// in small pieces at given offsets, so that looking at a plug-in never loads the whole file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace plugininfo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `count` bytes at `offset`; false (buffer contents unspecified) when the source
  // does not hold them all.
  virtual bool Read(uint64_t offset, void* buffer, size_t count) = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, void* buffer, size_t count) override;

 private:
  const uint8_t* data_;  // borrowed
  size_t size_;
};

class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::filesystem::path& path);
  bool IsOpen() const { return open_; }
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, void* buffer, size_t count) override;
  // How many reads were made and how many bytes they asked for: what looking at a file costs.
  int ReadCount() const { return reads_; }
  uint64_t BytesRead() const { return bytesRead_; }

 private:
  std::array<char, 4096> buffer_{};  // the stream's buffer; declared before the stream
  std::ifstream file_;
  bool open_ = false;
  uint64_t size_ = 0;
  int reads_ = 0;
  uint64_t bytesRead_ = 0;
};

}  // namespace plugininfo
