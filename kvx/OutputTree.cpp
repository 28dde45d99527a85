#include "kvx/OutputTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (FDescriptor >= 0) close(FDescriptor);
    FDescriptor = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (FDescriptor >= 0) close(FDescriptor);
}

PathStatus OpenFolder(int base, const std::vector<std::string>& parts, std::size_t count, bool create,
                      UniqueFd& folder, std::string& errorText, std::size_t* firstMade) {
  if (firstMade) *firstMade = count;
  UniqueFd current(dup(base));
  if (current.Get() < 0) {
    errorText = std::strerror(errno);
    return PathStatus::Error;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const char* part = parts[i].c_str();
    int fd = openat(current.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      if (!create) return PathStatus::Missing;
      if (mkdirat(current.Get(), part, 0755) == 0) {
        if (firstMade && *firstMade == count) *firstMade = i;
      } else if (errno != EEXIST) {
        errorText = std::strerror(errno);
        return PathStatus::Error;
      }
      fd = openat(current.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
      int err = errno;
      struct stat st = {};
      if (fstatat(current.Get(), part, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        return PathStatus::Link;
      errorText = std::strerror(err);
      return PathStatus::Error;
    }
    current = UniqueFd(fd);
  }
  folder = std::move(current);
  return PathStatus::Ok;
}

void RemoveEmptyFolders(int base, const std::vector<std::string>& parts, std::size_t firstMade,
                        std::size_t count) {
  for (std::size_t end = count; end > firstMade; --end) {
    UniqueFd parent;
    std::string error;
    if (OpenFolder(base, parts, end - 1, false, parent, error) != PathStatus::Ok) return;
    if (unlinkat(parent.Get(), parts[end - 1].c_str(), AT_REMOVEDIR) != 0) return;
  }
}

LeafKind InspectLeaf(int folder, const std::string& name, std::int64_t& mtime) {
  struct stat st = {};
  if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return LeafKind::None;
  if (S_ISLNK(st.st_mode)) return LeafKind::Link;
  if (!S_ISREG(st.st_mode)) return LeafKind::Other;
  mtime = st.st_mtim.tv_sec;
  return LeafKind::File;
}
