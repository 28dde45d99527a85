#pragma once
// A file handle with one owner: closed when it is replaced, released or goes out of scope.
#include <utility>

#include "platform/FileIO.h"

class TOwnedFile {
 public:
  TOwnedFile() = default;
  explicit TOwnedFile(FileHandle handle) : FHandle(handle) {}
  ~TOwnedFile() { Close(); }
  TOwnedFile(const TOwnedFile&) = delete;
  TOwnedFile& operator=(const TOwnedFile&) = delete;
  TOwnedFile(TOwnedFile&& other) noexcept : FHandle(std::exchange(other.FHandle, NoFileHandle)) {}
  TOwnedFile& operator=(TOwnedFile&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, NoFileHandle));
    return *this;
  }

  FileHandle Get() const { return FHandle; }
  bool IsOpen() const { return FHandle != NoFileHandle; }
  // Closes the handle held, if any, and takes the one given.
  void Reset(FileHandle handle = NoFileHandle) {
    if (FHandle != NoFileHandle && FHandle != handle) FileClose(FHandle);
    FHandle = handle;
  }
  void Close() { Reset(); }

 private:
  FileHandle FHandle = NoFileHandle;
};
