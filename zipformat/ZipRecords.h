#pragma once
// The zip records as the component and the unzip library both read them: a bounded little-endian
// reader and writer, the signatures, sizes and field offsets of the fixed records, and the few
// rules both readers must apply alike so that what is listed is what is extracted. The rules are
// implemented in ZipRecords.cpp, in the small library that both link.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Little-endian reads from a byte buffer at fixed offsets. A read that would reach past the buffer
// yields 0 and marks the reader failed; it never touches memory outside the buffer.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(data ? size : 0) {}
  std::uint8_t U8(std::size_t offset) const { return static_cast<std::uint8_t>(Take(offset, 1)); }
  std::uint16_t U16(std::size_t offset) const { return static_cast<std::uint16_t>(Take(offset, 2)); }
  std::uint32_t U32(std::size_t offset) const { return static_cast<std::uint32_t>(Take(offset, 4)); }
  std::uint64_t U64(std::size_t offset) const { return Take(offset, 8); }
  std::size_t Size() const { return FSize; }
  bool Failed() const { return FFailed; }

 private:
  std::uint64_t Take(std::size_t offset, std::size_t width) const {
    if (offset > FSize || width > FSize - offset) {
      FFailed = true;
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) value = (value << 8) | FData[offset + i - 1];
    return value;
  }
  const std::uint8_t* FData;
  std::size_t FSize;
  mutable bool FFailed = false;
};

// The writing side, for patching fields of a record in place; a write past the buffer is dropped
// and marks the writer failed.
class ByteWriter {
 public:
  ByteWriter(std::uint8_t* data, std::size_t size) : FData(data), FSize(data ? size : 0) {}
  void PutU16(std::size_t offset, std::uint16_t value) { Put(offset, value, 2); }
  void PutU32(std::size_t offset, std::uint32_t value) { Put(offset, value, 4); }
  void PutU64(std::size_t offset, std::uint64_t value) { Put(offset, value, 8); }
  bool Failed() const { return FFailed; }

 private:
  void Put(std::size_t offset, std::uint64_t value, std::size_t width) {
    if (offset > FSize || width > FSize - offset) {
      FFailed = true;
      return;
    }
    for (std::size_t i = 0; i < width; ++i) FData[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  std::uint8_t* FData;
  std::size_t FSize;
  bool FFailed = false;
};

// End of central directory record; the archive comment follows it.
namespace EndRec {
constexpr std::uint32_t Signature = 0x06054B50;
constexpr std::size_t Size = 22;
constexpr std::size_t Sig = 0;
constexpr std::size_t ThisVolume = 4;
constexpr std::size_t CentralVolume = 6;  // volume on which the central directory starts
constexpr std::size_t EntriesThisVolume = 8;
constexpr std::size_t TotalEntries = 10;
constexpr std::size_t CentralSize = 12;
constexpr std::size_t CentralOffset = 16;  // relative to the start of its volume
constexpr std::size_t CommentLength = 20;
constexpr std::size_t MaxCommentLength = 0xFFFF;
constexpr std::uint64_t MaxVolumeNumber = 0xFFFF;  // a set has at most 65 535 volumes
}  // namespace EndRec

bool IsEndRecordSignature(const std::uint8_t* p);

// The position of the last end record signature in data that has a whole record after it, or
// size when there is none.
std::size_t FindLastEndRecord(const std::uint8_t* data, std::size_t size);

// Zip64 end of central directory record: the 64-bit values of an end record whose fields are full.
namespace Zip64EndRec {
constexpr std::uint32_t Signature = 0x06064B50;
constexpr std::size_t Size = 56;
constexpr std::size_t Sig = 0;
constexpr std::size_t RecordSize = 4;  // bytes that follow this field
constexpr std::size_t MadeBy = 12;
constexpr std::size_t VersionNeeded = 14;
constexpr std::size_t ThisVolume = 16;
constexpr std::size_t CentralVolume = 20;
constexpr std::size_t EntriesThisVolume = 24;
constexpr std::size_t TotalEntries = 32;
constexpr std::size_t CentralSize = 40;
constexpr std::size_t CentralOffset = 48;
// What the size field holds for a record without extensible data: the bytes after that field.
constexpr std::size_t SizeAfterSizeField = Size - (RecordSize + sizeof(std::uint64_t));
constexpr std::uint16_t Version = 45;  // the zip version that brought the zip64 records
}  // namespace Zip64EndRec

// Zip64 end record locator, right in front of the end record.
namespace Zip64LocatorRec {
constexpr std::uint32_t Signature = 0x07064B50;
constexpr std::size_t Size = 20;
constexpr std::size_t Sig = 0;
constexpr std::size_t RecordVolume = 4;  // the volume that holds the zip64 end record
constexpr std::size_t RecordOffset = 8;  // relative to the start of that volume
constexpr std::size_t TotalVolumes = 16;
}  // namespace Zip64LocatorRec

// Central directory file header; name, extra field and comment follow it.
namespace CentralRec {
constexpr std::uint32_t Signature = 0x02014B50;
constexpr std::size_t Size = 46;
constexpr std::size_t Sig = 0;
constexpr std::size_t MadeByVersion = 4;
constexpr std::size_t MadeByHost = 5;
constexpr std::size_t VersionNeeded = 6;
constexpr std::size_t Flags = 8;
constexpr std::size_t Method = 10;
constexpr std::size_t Time = 12;
constexpr std::size_t Date = 14;
constexpr std::size_t Crc32 = 16;
constexpr std::size_t CompressedSize = 20;
constexpr std::size_t UncompressedSize = 24;
constexpr std::size_t NameLength = 28;
constexpr std::size_t ExtraLength = 30;
constexpr std::size_t CommentLength = 32;
constexpr std::size_t DiskStart = 34;
constexpr std::size_t InternalAttributes = 36;
constexpr std::size_t ExternalAttributes = 38;
constexpr std::size_t LocalOffset = 42;
}  // namespace CentralRec

// Local file header; name and extra field follow it, then the data.
namespace LocalRec {
constexpr std::uint32_t Signature = 0x04034B50;
constexpr std::size_t Size = 30;
constexpr std::size_t Sig = 0;
constexpr std::size_t VersionNeeded = 4;
constexpr std::size_t Flags = 6;
constexpr std::size_t Method = 8;
constexpr std::size_t Time = 10;
constexpr std::size_t Date = 12;
constexpr std::size_t Crc32 = 14;
constexpr std::size_t CompressedSize = 18;
constexpr std::size_t UncompressedSize = 22;
constexpr std::size_t NameLength = 26;
constexpr std::size_t ExtraLength = 28;
}  // namespace LocalRec

// Data descriptor with its optional signature; the same four bytes open the first volume of a
// spanned set, followed by a local header signature.
namespace DescriptorRec {
constexpr std::uint32_t Signature = 0x08074B50;
constexpr std::size_t Size = 16;  // with the signature
constexpr std::size_t Sig = 0;
constexpr std::size_t Crc32 = 4;
constexpr std::size_t CompressedSize = 8;
constexpr std::size_t UncompressedSize = 12;
}  // namespace DescriptorRec

constexpr std::uint32_t SpanMarker = DescriptorRec::Signature;

// General purpose flag bits.
constexpr std::uint16_t FlagEncrypted = 0x0001;
constexpr std::uint16_t FlagLzmaEndMarker = 0x0002;  // with method 14
constexpr std::uint16_t FlagDataDescriptor = 0x0008;
constexpr std::uint16_t FlagStrongEncryption = 0x0040;
constexpr std::uint16_t FlagUtf8 = 0x0800;

// Extra field blocks: a 2-byte id and a 2-byte size, then the data.
namespace ExtraId {
constexpr std::uint16_t Zip64 = 0x0001;         // 64-bit sizes and offset of full fields
constexpr std::uint16_t ExtendedTime = 0x5455;  // flags byte, then Unix times
constexpr std::uint16_t UnicodePath = 0x7075;   // version 1, CRC-32 of the header's name, UTF-8 name
constexpr std::size_t UnicodePathHeader = 5;    // version and CRC in front of the name
constexpr std::size_t MaxBlocks = 64;           // blocks looked at per extra field

// AE-1/AE-2 version, "AE", key strength, real method.
constexpr std::uint16_t Aes = 0x9901;
// Format, algorithm id, bit length, flags.
constexpr std::uint16_t StrongEncryption = 0x0017;
}  // namespace ExtraId

// Walks the blocks of an extra field, at most ExtraId::MaxBlocks of them; stops at a block that
// runs past the field.
class ExtraFieldCursor {
 public:
  ExtraFieldCursor(const std::uint8_t* data, std::size_t size) : FData(data), FSize(data ? size : 0) {}
  bool Next(std::uint16_t& id, const std::uint8_t*& block, std::size_t& size) {
    if (FBlocks == ExtraId::MaxBlocks || FSize - FPos < 4) return false;
    const ByteReader head(FData + FPos, 4);
    id = head.U16(0);
    size = head.U16(2);
    if (size > FSize - FPos - 4) return false;
    block = FData + FPos + 4;
    FPos += 4 + size;
    ++FBlocks;
    return true;
  }
  // The next block with the wanted id; the blocks between are skipped.
  bool Find(std::uint16_t wanted, const std::uint8_t*& block, std::size_t& size) {
    std::uint16_t id = 0;
    while (Next(id, block, size))
      if (id == wanted) return true;
    return false;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
  std::size_t FBlocks = 0;
};

// Whether a name or comment not flagged UTF-8 is in the OEM code page, by its maker: FAT and HPFS
// hosts and NTFS hosts of version 5.0 write it so. The directory reader and the unzip library both
// decide by this, so that an entry is listed under the name it is written as.
bool IsOemText(std::uint8_t host, std::uint8_t madeByVersion);

// The name of a Unicode path block that belongs to rawName (its CRC-32 matches), when it is valid
// UTF-8; the first block of version 1 decides. The CRC is computed once per entry.
std::optional<std::string> UnicodePathName(const std::string& rawName, const std::uint8_t* extra,
                                           std::size_t extraSize);

// The method number of AES-encrypted entries; the AES block holds the data's own method.
constexpr std::uint16_t MethodAes = 99;

struct AesBlock {
  std::uint16_t Version = 0;  // 1 for AE-1 (with CRC), 2 for AE-2 (CRC left out)
  std::uint8_t Strength = 0;  // 1, 2, 3 for 128-, 192-, 256-bit keys
  std::uint16_t Method = 0;   // the method of the data under the encryption
  unsigned KeyBits() const { return Strength >= 1 && Strength <= 3 ? 64u + 64u * Strength : 0u; }
};

// The entry's AES block, when its extra field has one that carries the "AE" vendor id.
std::optional<AesBlock> FindAesBlock(const std::uint8_t* extra, std::size_t extraSize);

// The algorithm id of the strong encryption block (0 when there is none).
std::uint16_t FindStrongEncryptionAlgorithm(const std::uint8_t* extra, std::size_t extraSize);

// The 64-bit values of a zip64 block for the header fields that are full (0xFFFFFFFF), in the
// order the block holds them.
void ApplyZip64Block(const std::uint8_t* extra, std::size_t extraSize, std::uint64_t& uncompressed,
                     std::uint64_t& compressed, std::uint64_t& localOffset);

bool HasZip64Block(const std::uint8_t* extra, std::size_t extraSize);

// Whether the number of central headers read agrees with the number the end record gives. A count
// that only lost its high bits (more than 65535 entries in a 16-bit field) agrees.
bool EntryCountAgrees(std::uint64_t read, std::uint64_t declared);

// The directory as the end records describe it. Read through read(position, buffer, count), which
// returns true only when all count bytes came; positions are those of the volume that holds the end
// record, which is also where a zip64 end record is looked for.
struct DirectoryTotals {
  std::uint32_t ThisVolume = 0;     // the volume that holds the end record
  std::uint32_t CentralVolume = 0;  // the volume on which the directory starts
  std::uint64_t Entries = 0;
  std::uint64_t Size = 0;
  std::uint64_t Offset = 0;    // relative to the start of the directory's volume
  std::int64_t RecordPos = 0;  // where the directory ends: the zip64 end record, or else the end record
  bool Zip64 = false;          // a zip64 end record was found
  bool Consistent = true;      // false when a zip64 end record contradicts the end record
};

using DirectoryReadAt = std::function<bool(std::int64_t position, std::uint8_t* buffer, std::size_t count)>;
DirectoryTotals ReadDirectoryTotals(const std::uint8_t (&end)[EndRec::Size], std::int64_t endPos,
                                    const DirectoryReadAt& read);

// Where an entry's local header and data lie: at least a local header and its compressed bytes.
struct DataExtent {
  std::uint32_t Volume = 0;
  std::uint64_t Start = 0;
  std::uint64_t Size = 0;
};

DataExtent EntryExtent(std::uint32_t volume, std::uint64_t localOffset, std::uint64_t compressed);

// True when two entries share bytes: several central headers pointing into the same data.
bool ExtentsOverlap(std::vector<DataExtent> extents);

// Bounds on the work of one extraction, and of a salvage that checks what it keeps. Both are
// checked against the sizes the directory declares before anything is written; the decoders never
// deliver more than an entry declares, so the bounds hold for what is written or tested.

// The selected entries together may declare at most 64 GiB.
constexpr std::uint64_t MaxTotalOutput = 64ull << 30;
// An entry that declares more than 1 MiB may expand at most 10 000 times its compressed size.
constexpr std::uint64_t MaxExpansionRatio = 10000;
constexpr std::uint64_t RatioFreeOutput = 1ull << 20;

bool ExpandsTooMuch(std::uint64_t compressed, std::uint64_t uncompressed);
