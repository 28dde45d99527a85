#pragma once
// The archive being extracted: a read-only file read at absolute positions.
#include <cstddef>
#include <cstdint>
#include <string>

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;
  ~ArchiveFile();

  // False when the file cannot be opened or is not a regular file.
  bool Open(const std::string& name);
  std::int64_t Size() const { return size_; }
  // True only when all count bytes at offset were read.
  bool ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;

 private:
  int fd_ = -1;
  std::int64_t size_ = 0;
};

// Sequential reader over a range of the archive through a fixed buffer.
class ArchiveStream {
 public:
  ArchiveStream(const ArchiveFile& file, std::int64_t start, std::int64_t end)
      : file_(file), next_(start), end_(end) {}
  // True only when all count bytes were read (or skipped, when buffer is null).
  bool Read(void* buffer, std::size_t count);
  bool AtEnd() const { return used_ == have_ && next_ >= end_; }

 private:
  static constexpr std::size_t BufferSize = 64 * 1024;
  const ArchiveFile& file_;
  std::int64_t next_;
  std::int64_t end_;
  unsigned char buffer_[BufferSize];
  std::size_t have_ = 0;
  std::size_t used_ = 0;
};
