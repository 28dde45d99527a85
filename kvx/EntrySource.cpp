#include "kvx/EntrySource.h"

#include <algorithm>

std::int64_t EntrySource::Read(std::uint8_t* buffer, std::size_t cap) {
  std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, FLeft));
  if (n == 0) return 0;
  if (!FFile.ReadAt(FNext, buffer, n)) return -1;
  if (FCipher) FCipher->Decrypt(buffer, n);
  FNext += static_cast<std::int64_t>(n);
  FLeft -= n;
  return static_cast<std::int64_t>(n);
}

bool EntrySource::Drain() {
  std::uint8_t buffer[16 * 1024];
  for (;;) {
    const std::int64_t got = Read(buffer, sizeof buffer);
    if (got <= 0) return got == 0;
  }
}
