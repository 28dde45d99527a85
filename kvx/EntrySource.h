#pragma once
// The compressed bytes of one entry, read from the archive and decrypted when a cipher is given.
#include <cstddef>
#include <cstdint>

#include "kvx/ArchiveFile.h"
#include "kvx/EntryCipher.h"

class EntrySource {
 public:
  EntrySource(const ArchiveFile& file, std::int64_t start, std::uint64_t size, EntryCipher* cipher)
      : FFile(file), FNext(start), FLeft(size), FCipher(cipher) {}
  // Up to cap bytes; 0 at the end of the entry's data, -1 on a read error.
  std::int64_t Read(std::uint8_t* buffer, std::size_t cap);
  // Reads what the decoder left of the data, so that a cipher has seen all of it; false on a read
  // error.
  bool Drain();
  const ArchiveFile& File() const { return FFile; }

 private:
  const ArchiveFile& FFile;
  std::int64_t FNext;
  std::uint64_t FLeft;
  EntryCipher* FCipher;
};
