#include "kvx/ArchiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

ArchiveFile::~ArchiveFile() {
  if (FDescriptor >= 0) close(FDescriptor);
}

bool ArchiveFile::Open(const std::string& name) {
  FDescriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (FDescriptor < 0) return false;
  struct stat st = {};
  if (fstat(FDescriptor, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  FSize = st.st_size;
  return true;
}

bool ArchiveFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
  if (offset < 0 || offset > FSize || static_cast<std::uint64_t>(FSize - offset) < count) return false;
  auto* out = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    ssize_t got = pread(FDescriptor, out, count, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool ArchiveStream::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    if (FUsed == FHave) {
      if (FNext >= FEnd) return false;
      std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(BufferSize, FEnd - FNext));
      if (!FFile.ReadAt(FNext, FBuffer, want)) return false;
      FNext += static_cast<std::int64_t>(want);
      FHave = want;
      FUsed = 0;
    }
    std::size_t n = std::min(count, FHave - FUsed);
    if (out) {
      std::memcpy(out, FBuffer + FUsed, n);
      out += n;
    }
    FUsed += n;
    count -= n;
  }
  return true;
}
