#pragma once
// Reading a whole block from a file handle.
#include <cstdint>

#include "platform/FileIO.h"

// Reads until count bytes have come, the file ends or a read fails; returns the bytes read.
inline std::int64_t ReadExact(FileHandle handle, void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (done < count) {
    const std::int64_t n = FileRead(handle, out + done, count - done);
    if (n <= 0) break;
    done += n;
  }
  return done;
}
