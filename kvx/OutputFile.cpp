#include "kvx/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

bool OutputFile::Create(UniqueFd folder, const std::string& name, mode_t mode, std::string& errorText) {
  FFolder = std::move(folder);
  FName = name;
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char temp[32];
    std::snprintf(temp, sizeof temp, ".kvx%08x.part", static_cast<unsigned>(random()));
    int fd = openat(FFolder.Get(), temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) {
      FFile = UniqueFd(fd);
      FTempName = temp;
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
    ssize_t n = write(FFile.Get(), p, count);
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
  futimens(FFile.Get(), times);
  if (close(FFile.Release()) != 0) {
    errorText = std::strerror(errno);
    return CommitResult::Error;
  }
  int rc = replace
               ? renameat(FFolder.Get(), FTempName.c_str(), FFolder.Get(), FName.c_str())
               : renameat2(FFolder.Get(), FTempName.c_str(), FFolder.Get(), FName.c_str(), RENAME_NOREPLACE);
  if (rc != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
    rc = linkat(FFolder.Get(), FTempName.c_str(), FFolder.Get(), FName.c_str(), 0);
    if (rc == 0) unlinkat(FFolder.Get(), FTempName.c_str(), 0);
  }
  if (rc != 0) {
    CommitResult result = errno == EEXIST ? CommitResult::Exists : CommitResult::Error;
    errorText = std::strerror(errno);
    return result;
  }
  FTempName.clear();
  return CommitResult::Ok;
}

void OutputFile::Discard() {
  if (FFile.Get() >= 0) close(FFile.Release());
  if (!FTempName.empty()) unlinkat(FFolder.Get(), FTempName.c_str(), 0);
  FTempName.clear();
}
