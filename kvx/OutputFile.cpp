#include "kvx/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

bool OutputFile::Create(UniqueFd folder, const std::string& name, mode_t mode, std::string& errorText) {
  folder_ = std::move(folder);
  name_ = name;
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char temp[32];
    std::snprintf(temp, sizeof temp, ".kvx%08x.part", static_cast<unsigned>(random()));
    int fd = openat(folder_.Get(), temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) {
      file_ = UniqueFd(fd);
      tempName_ = temp;
      return true;
    }
    if (errno != EEXIST) break;
  }
  errorText = std::strerror(errno);
  return false;
}

bool OutputFile::Write(const void* data, std::size_t count, std::string& errorText) {
  const auto* p = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t n = write(file_.Get(), p, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errorText = n < 0 ? std::strerror(errno) : "disk full";
      return false;
    }
    p += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

OutputFile::CommitResult OutputFile::Commit(std::int64_t mtime, bool replace, std::string& errorText) {
  struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
  futimens(file_.Get(), times);
  if (close(file_.Release()) != 0) {
    errorText = std::strerror(errno);
    return CommitResult::Error;
  }
  int rc = replace
               ? renameat(folder_.Get(), tempName_.c_str(), folder_.Get(), name_.c_str())
               : renameat2(folder_.Get(), tempName_.c_str(), folder_.Get(), name_.c_str(), RENAME_NOREPLACE);
  if (rc != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
    rc = linkat(folder_.Get(), tempName_.c_str(), folder_.Get(), name_.c_str(), 0);
    if (rc == 0) unlinkat(folder_.Get(), tempName_.c_str(), 0);
  }
  if (rc != 0) {
    CommitResult result = errno == EEXIST ? CommitResult::Exists : CommitResult::Error;
    errorText = std::strerror(errno);
    return result;
  }
  tempName_.clear();
  return CommitResult::Ok;
}

void OutputFile::Discard() {
  if (file_.Get() >= 0) close(file_.Release());
  if (!tempName_.empty()) unlinkat(folder_.Get(), tempName_.c_str(), 0);
  tempName_.clear();
}
