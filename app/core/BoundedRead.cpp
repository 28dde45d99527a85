#include "app/core/BoundedRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
// Up to limit + 1 bytes, so a file that grew past the limit since fstat is told too.
std::optional<std::string> ReadUpTo(int handle, std::size_t limit, std::size_t expected) {
  const std::size_t wanted = limit + 1;
  std::string bytes(std::min(expected, limit) + 1, '\0');
  std::size_t done = 0;
  while (done < wanted) {
    if (done == bytes.size()) bytes.resize(std::min(wanted, bytes.size() * 2));
    const ssize_t got = read(handle, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}
}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit, TOversize oversize) {
  const int handle = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat info = {};
  if (fstat(handle, &info) == 0 && S_ISREG(info.st_mode))
    bytes = ReadUpTo(handle, limit, static_cast<std::size_t>(info.st_size));
  close(handle);
  if (bytes && bytes->size() > limit) {
    if (oversize == TOversize::Refuse) return std::nullopt;
    bytes->resize(limit);
  }
  return bytes;
}
