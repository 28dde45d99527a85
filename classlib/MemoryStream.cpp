#include "classlib/MemoryStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

std::int64_t TMemoryStream::Size() const {
  return FExternal != nullptr ? FExternalSize : static_cast<std::int64_t>(FData.size());
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = std::max<std::int64_t>(0, Size() - FPosition);
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, available);
  if (n == 0) return 0;
  const std::uint8_t* data = FExternal != nullptr ? FExternal : FData.data();
  std::memcpy(buffer, data + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

// Writing to an external block first takes a private copy of it.
std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (FExternal != nullptr) {
    FData.assign(FExternal, FExternal + FExternalSize);
    FExternal = nullptr;
    FExternalSize = 0;
  }
  const auto end = static_cast<std::size_t>(FPosition + count);
  if (end > FData.size()) FData.resize(end);
  std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition += count;
  return count;
}

// Returns the new position, or -1 leaving it unchanged when it would fall before the start.
std::int64_t TMemoryStream::Seek(std::int64_t offset, int origin) {
  std::int64_t base = 0;
  if (origin == 1)
    base = FPosition;
  else if (origin == 2)
    base = Size();
  else if (origin != 0)
    return -1;
  if (offset < -base || (offset > 0 && base > INT64_MAX - offset)) return -1;
  FPosition = base + offset;
  return FPosition;
}

void TMemoryStream::Clear() {
  FData.clear();
  FExternal = nullptr;
  FExternalSize = 0;
  FPosition = 0;
}
