#pragma once
// A growable memory stream; it can also read from an external block it does not own.
#include <cstdint>
#include <vector>

class TMemoryStream {
 public:
  virtual ~TMemoryStream() = default;
  std::int64_t Size() const;
  std::int64_t Position() const { return FPosition; }
  std::int64_t Read(void* buffer, std::int64_t count);
  std::int64_t Write(const void* buffer, std::int64_t count);
  std::int64_t Seek(std::int64_t offset, int origin);
  void Clear();

 protected:
  std::vector<std::uint8_t> FData;
  const std::uint8_t* FExternal = nullptr;
  std::int64_t FExternalSize = 0;
  std::int64_t FPosition = 0;
};
