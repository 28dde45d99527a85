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
  std::int64_t Size() const { return FSize; }
  // True only when all count bytes at offset were read.
  bool ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;

 private:
  int FDescriptor = -1;
  std::int64_t FSize = 0;
};

// Sequential reader over a range of the archive through a fixed buffer.
class ArchiveStream {
 public:
  ArchiveStream(const ArchiveFile& file, std::int64_t start, std::int64_t end)
      : FFile(file), FNext(start), FEnd(end) {}
  // True only when all count bytes were read (or skipped, when buffer is null).
  bool Read(void* buffer, std::size_t count);
  bool AtEnd() const { return FUsed == FHave && FNext >= FEnd; }

 private:
  static constexpr std::size_t BufferSize = 64 * 1024;
  const ArchiveFile& FFile;
  std::int64_t FNext;
  std::int64_t FEnd;
  unsigned char FBuffer[BufferSize];
  std::size_t FHave = 0;
  std::size_t FUsed = 0;
};
