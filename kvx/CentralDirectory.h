#pragma once
// The library's own reader of an archive's central directory.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kvx/ArchiveFile.h"
#include "zipformat/ZipRecords.h"

struct KvxEntry {
  std::string Name;  // UTF-8, "/" as separator
  std::uint16_t Flags = 0;
  std::uint16_t Method = 0;
  std::uint8_t HostSystem = 0;
  std::uint32_t DosDateTime = 0;  // date high word, time low word
  std::uint32_t Crc = 0;
  std::uint64_t CompressedSize = 0;
  std::uint64_t UncompressedSize = 0;
  std::uint64_t LocalHeaderOffset = 0;  // as stored, before the prefix is added
  std::uint32_t ExternalAttributes = 0;
  bool HasUnixTime = false;
  std::int64_t UnixTime = 0;  // from the extended timestamp field
  bool HasComment = false;
  char CommentFirstByte = 0;
  std::optional<AesBlock> Aes;        // from the AES extra block
  std::uint16_t StrongAlgorithm = 0;  // from the strong encryption block

  // The method the data was compressed with, under any AES encryption.
  std::uint16_t DataMethod() const {
    return Method == MethodAes && Aes && Encrypted() ? Aes->Method : Method;
  }
  // AE-2 leaves the CRC out: its authentication code checks the data instead.
  bool CrcStored() const { return !(Method == MethodAes && Aes && Encrypted() && Aes->Version == 2); }

  bool Encrypted() const { return Flags & FlagEncrypted; }
  // A trailing "/", or the directory attribute set by a DOS-like host on an empty entry.
  bool IsDirectory() const {
    bool dosFolder = (HostSystem == 0 || HostSystem == 6 || HostSystem == 11) &&
                     (ExternalAttributes & 0x10) && UncompressedSize == 0;
    return !Name.empty() && (Name.back() == '/' || dosFolder);
  }
  std::uint32_t UnixMode() const { return HostSystem == 3 ? ExternalAttributes >> 16 : 0; }
  bool IsSymlink() const { return (UnixMode() & 0170000) == 0120000; }
};

struct CentralDirectory {
  std::vector<KvxEntry> Entries;
  std::int64_t Prefix = 0;  // bytes in front of the archive proper (a self-extractor stub)
};

// Reads every central header. False with a message when no directory is found, it is unreadable,
// or it contradicts its end records or itself (entry count, overlapping entries): such a directory
// is refused as a whole, since the component's List would not show the same entries.
bool LoadCentralDirectory(const ArchiveFile& file, CentralDirectory& dir, std::string& error);
