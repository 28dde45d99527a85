#pragma once
// File handles: -1 is no handle. Dates are DOS packed (date high word, time low word), local time.
#include <cstdint>
#include <string>

#include "platform/Win32Types.h"

using FileHandle = int;
constexpr FileHandle NoFileHandle = -1;

FileHandle FileOpenRead(const std::string& name);  // read only, regular files only; never waits
// True when name exists and is neither a regular file nor a folder (a pipe, a device, a socket).
bool IsSpecialFile(const std::string& name);
// Device and inode: two names, or a name and a handle, with the same identity are one file.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
bool FileIdentityOf(const std::string& name, FileIdentity& identity);  // follows links; false if none
bool FileIdentityOf(FileHandle handle, FileIdentity& identity);
int FileModeOf(const std::string& name);  // permission bits of a regular file (not a link), else -1
bool FileSetMode(FileHandle handle, int mode);
FileHandle FileCreate(const std::string& name);  // created new or truncated, read/write, 0600 when new
FileHandle FileCreateExclusive(const std::string& name);                     // O_EXCL|O_NOFOLLOW, 0600
std::int64_t FileRead(FileHandle handle, void* buffer, std::int64_t count);  // bytes read, -1 on error
std::int64_t FileWrite(FileHandle handle, const void* buffer, std::int64_t count);
std::int64_t FileSeek(FileHandle handle, std::int64_t offset,
                      int origin);  // 0 start, 1 current, 2 end; -1 on error
void FileClose(FileHandle handle);
std::int32_t FileGetDate(FileHandle handle);  // -1 on error
bool FileSetDate(FileHandle handle, std::int32_t dosDateTime);
std::int64_t FileSizeOf(const std::string& name);  // -1 when it is not a readable file

// Makes "<path><prefix>XXXXXX.tmp", created with O_EXCL and mode 0600; returns 0 on failure.
UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, std::string& tempFileName);

std::uint32_t UnixTimeToDos(std::int64_t unixTime);
std::int64_t DosToUnixTime(std::uint32_t dosDateTime);
