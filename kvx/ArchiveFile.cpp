#include "kvx/ArchiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

ArchiveFile::~ArchiveFile() {
  if (fd_ >= 0) close(fd_);
}

bool ArchiveFile::Open(const std::string& name) {
  fd_ = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st {};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size_ = st.st_size;
  return true;
}

bool ArchiveFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
  if (offset < 0 || offset > size_ || static_cast<std::uint64_t>(size_ - offset) < count) return false;
  auto* out = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    ssize_t got = pread(fd_, out, count, offset);
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
    if (used_ == have_) {
      if (next_ >= end_) return false;
      std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(BufferSize, end_ - next_));
      if (!file_.ReadAt(next_, buffer_, want)) return false;
      next_ += static_cast<std::int64_t>(want);
      have_ = want;
      used_ = 0;
    }
    std::size_t n = std::min(count, have_ - used_);
    if (out) {
      std::memcpy(out, buffer_ + used_, n);
      out += n;
    }
    used_ += n;
    count -= n;
  }
  return true;
}
