// File handles, file dates and temporary file names.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/Folders.h"

// Only a regular file is opened. The open does not wait (a pipe would block until someone
// writes to it); the handle is made blocking again once the file is known to be regular.
FileHandle FileOpenRead(const std::string& name) {
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return NoFileHandle;
  struct stat st = {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return NoFileHandle;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return NoFileHandle;
  }
  return fd;
}

bool IsSpecialFile(const std::string& name) {
  struct stat st = {};
  return stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool FileIdentityOf(const std::string& name, FileIdentity& identity) {
  struct stat st = {};
  if (stat(name.c_str(), &st) != 0) return false;
  identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return true;
}

bool FileIdentityOf(FileHandle handle, FileIdentity& identity) {
  struct stat st = {};
  if (fstat(handle, &st) != 0) return false;
  identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return true;
}

int FileModeOf(const std::string& name) {
  struct stat st = {};
  if (lstat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int>(st.st_mode & 0777);
}

bool FileSetMode(FileHandle handle, int mode) {
  return fchmod(handle, static_cast<mode_t>(mode)) == 0;
}

FileHandle FileCreate(const std::string& name) {
  return open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

FileHandle FileCreateExclusive(const std::string& name) {
  return open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

std::int64_t FileRead(FileHandle handle, void* buffer, std::int64_t count) {
  if (count < 0) return -1;
  auto* bytes = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = read(handle, bytes + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t FileWrite(FileHandle handle, const void* buffer, std::int64_t count) {
  if (count < 0) return -1;
  const auto* bytes = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = write(handle, bytes + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t FileSeek(FileHandle handle, std::int64_t offset, int origin) {
  static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < 0 || origin > 2) return -1;
  return lseek(handle, offset, whence[origin]);
}

void FileClose(FileHandle handle) {
  if (handle != NoFileHandle) close(handle);
}

std::int32_t FileGetDate(FileHandle handle) {
  struct stat st = {};
  if (fstat(handle, &st) != 0) return -1;
  return static_cast<std::int32_t>(UnixTimeToDos(st.st_mtime));
}

bool FileSetDate(FileHandle handle, std::int32_t dosDateTime) {
  const std::int64_t when = DosToUnixTime(static_cast<std::uint32_t>(dosDateTime));
  if (when < 0) return false;
  const timespec times[2] = {{static_cast<time_t>(when), 0}, {static_cast<time_t>(when), 0}};
  return futimens(handle, times) == 0;
}

std::int64_t FileSizeOf(const std::string& name) {
  struct stat st = {};
  if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || access(name.c_str(), R_OK) != 0) return -1;
  return st.st_size;
}

// Only the first three characters of the prefix are used. A nonzero unique makes the name from
// its hexadecimal digits and creates nothing, as the caller then owns the name.
UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, std::string& tempFileName) {
  std::string name = path != nullptr ? path : "";
  if (!name.empty() && !EndsInDelimiter(name)) name += PathDelim;
  name += std::string(prefix != nullptr ? prefix : "").substr(0, 3);
  if (unique != 0) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%.4X", unique & 0xFFFFu);
    tempFileName = name + digits + ".tmp";
    return unique & 0xFFFFu;
  }
  std::vector<char> pattern(name.begin(), name.end());
  for (const char c : std::string("XXXXXX.tmp")) pattern.push_back(c);
  pattern.push_back('\0');
  const int fd = mkstemps(pattern.data(), 4);
  if (fd < 0) return 0;
  close(fd);
  tempFileName = pattern.data();
  UINT hash = 0;
  for (const char c : tempFileName.substr(name.size(), 6)) hash = hash * 31 + static_cast<unsigned char>(c);
  return hash == 0 ? 1 : hash;
}

std::uint32_t UnixTimeToDos(std::int64_t unixTime) {
  const time_t when = static_cast<time_t>(unixTime);
  tm local{};
  if (localtime_r(&when, &local) == nullptr || local.tm_year < 80)
    return (0u << 25) | (1u << 21) | (1u << 16);
  if (local.tm_year > 207) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return (static_cast<std::uint32_t>(local.tm_year - 80) << 25) |
         (static_cast<std::uint32_t>(local.tm_mon + 1) << 21) |
         (static_cast<std::uint32_t>(local.tm_mday) << 16) |
         (static_cast<std::uint32_t>(local.tm_hour) << 11) | (static_cast<std::uint32_t>(local.tm_min) << 5) |
         (static_cast<std::uint32_t>(local.tm_sec) / 2);
}

std::int64_t DosToUnixTime(std::uint32_t dosDateTime) {
  tm local{};
  local.tm_year = static_cast<int>((dosDateTime >> 25) & 0x7F) + 80;
  local.tm_mon = static_cast<int>((dosDateTime >> 21) & 0x0F) - 1;
  local.tm_mday = static_cast<int>((dosDateTime >> 16) & 0x1F);
  local.tm_hour = static_cast<int>((dosDateTime >> 11) & 0x1F);
  local.tm_min = static_cast<int>((dosDateTime >> 5) & 0x3F);
  local.tm_sec = static_cast<int>(dosDateTime & 0x1F) * 2;
  local.tm_isdst = -1;
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 || local.tm_min > 59 ||
      local.tm_sec > 59)
    return -1;
  return static_cast<std::int64_t>(mktime(&local));
}
