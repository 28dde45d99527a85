#include "zip/salvage/RepairedArchive.h"

#include <algorithm>
#include <vector>

#include "zip/records/ReadExact.h"
#include "zip/salvage/EntryData.h"
#include "zipformat/ZipRecords.h"

namespace {

// Made by version 2.0 on a FAT host: the local headers do not say, and names that are not flagged
// UTF-8 are most often in the OEM code page.
constexpr std::uint16_t RepairedMadeBy = 20;
constexpr std::uint32_t DirectoryAttribute = 0x10;

bool Write(FileHandle output, const void* data, std::size_t count) {
  return FileWrite(output, data, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
}

bool CopyBytes(FileHandle file, std::int64_t at, std::int64_t count, FileHandle output) {
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
  if (FileSeek(file, at, 0) != at) return false;
  while (count > 0) {
    const std::int64_t chunk = std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size()));
    if (ReadExact(file, buffer.data(), chunk) != chunk ||
        !Write(output, buffer.data(), static_cast<std::size_t>(chunk)))
      return false;
    count -= chunk;
  }
  return true;
}

// An entry whose deflated data the cut ended: a local header of its own, and the data inflated.
bool WriteStoredFromCutStream(FileHandle file, const SalvagedEntry& e, std::int64_t fileSize,
                              FileHandle output) {
  using namespace LocalRec;
  std::uint8_t header[Size] = {};
  ByteWriter w(header, Size);
  w.PutU32(Sig, Signature);
  w.PutU16(VersionNeeded, e.VersionNeeded);
  w.PutU16(Flags, e.Flags);
  w.PutU16(Method, e.Method);
  w.PutU16(Time, static_cast<std::uint16_t>(e.DosDateTime));
  w.PutU16(Date, static_cast<std::uint16_t>(e.DosDateTime >> 16));
  w.PutU32(Crc32, e.Crc32);
  w.PutU32(CompressedSize, e.CompressedSize);
  w.PutU32(UncompressedSize, e.UncompressedSize);
  w.PutU16(NameLength, static_cast<std::uint16_t>(e.Name.size()));
  w.PutU16(ExtraLength, static_cast<std::uint16_t>(e.Extra.size()));
  if (!Write(output, header, Size) || !Write(output, e.Name.data(), e.Name.size()) ||
      !Write(output, e.Extra.data(), e.Extra.size()))
    return false;
  EntryDataFound inflated;
  InflateToEnd(file, e.DataStart, fileSize, e.UncompressedSize, inflated,
               [output](const std::uint8_t* data, std::size_t count) { return Write(output, data, count); });
  return inflated.Uncompressed == e.UncompressedSize && inflated.Crc32 == e.Crc32;
}

// The bytes an entry takes in the repaired archive.
std::uint64_t RepairedLength(const SalvagedEntry& e) {
  if (!e.StoredFromCutStream) return static_cast<std::uint64_t>(e.Length);
  return LocalRec::Size + e.Name.size() + e.Extra.size() + e.UncompressedSize;
}

bool WriteCentralHeader(const SalvagedEntry& e, std::uint32_t localOffset, FileHandle output) {
  using namespace CentralRec;
  std::uint8_t header[Size] = {};
  ByteWriter w(header, Size);
  w.PutU32(Sig, Signature);
  w.PutU16(MadeByVersion, RepairedMadeBy);
  w.PutU16(VersionNeeded, e.VersionNeeded);
  w.PutU16(Flags, e.Flags);
  w.PutU16(Method, e.Method);
  w.PutU16(Time, static_cast<std::uint16_t>(e.DosDateTime));
  w.PutU16(Date, static_cast<std::uint16_t>(e.DosDateTime >> 16));
  w.PutU32(Crc32, e.Crc32);
  w.PutU32(CompressedSize, e.CompressedSize);
  w.PutU32(UncompressedSize, e.UncompressedSize);
  w.PutU16(NameLength, static_cast<std::uint16_t>(e.Name.size()));
  w.PutU16(ExtraLength, static_cast<std::uint16_t>(e.Extra.size()));
  const char last = e.Name.back();
  w.PutU32(ExternalAttributes, last == '/' || last == '\\' ? DirectoryAttribute : 0);
  w.PutU32(LocalOffset, localOffset);
  return Write(output, header, Size) && Write(output, e.Name.data(), e.Name.size()) &&
         Write(output, e.Extra.data(), e.Extra.size());
}

bool WriteEndRecord(std::size_t entries, std::uint32_t directorySize, std::uint32_t directoryOffset,
                    FileHandle output) {
  using namespace EndRec;
  std::uint8_t record[Size] = {};
  ByteWriter w(record, Size);
  w.PutU32(Sig, Signature);
  w.PutU16(EntriesThisVolume, static_cast<std::uint16_t>(entries));
  w.PutU16(TotalEntries, static_cast<std::uint16_t>(entries));
  w.PutU32(CentralSize, directorySize);
  w.PutU32(CentralOffset, directoryOffset);
  return Write(output, record, Size);
}

}  // namespace

bool WriteRepairedArchive(FileHandle file, const SalvageWalk& walk, FileHandle output) {
  // Every offset of the copy must fit its 32-bit field.
  std::vector<std::uint32_t> offsets;
  std::uint64_t at = 0;
  for (const SalvagedEntry& e : walk.Entries) {
    if (at > 0xFFFFFFFF) return false;
    const bool written = e.StoredFromCutStream ? WriteStoredFromCutStream(file, e, walk.FileSize, output)
                                               : CopyBytes(file, e.LocalOffset, e.Length, output);
    if (!written) return false;
    offsets.push_back(static_cast<std::uint32_t>(at));
    at += RepairedLength(e);
  }
  const std::uint64_t directoryOffset = at;
  for (std::size_t i = 0; i < walk.Entries.size(); ++i) {
    const SalvagedEntry& e = walk.Entries[i];
    if (!WriteCentralHeader(e, offsets[i], output)) return false;
    at += CentralRec::Size + e.Name.size() + e.Extra.size();
  }
  if (at > 0xFFFFFFFF) return false;
  return WriteEndRecord(walk.Entries.size(), static_cast<std::uint32_t>(at - directoryOffset),
                        static_cast<std::uint32_t>(directoryOffset), output);
}
