// Walking the local entries of a cut archive.
#include "zip/salvage/LocalWalk.h"

#include <algorithm>
#include <vector>

#include "zip/records/ReadExact.h"
#include "zip/records/ZipRecords.h"
#include "zip/salvage/EntryData.h"

namespace {

constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflated = 8;
constexpr std::size_t ScanChunk = 64 * 1024;

// Where the first local header signature of the file starts, or fileSize when there is none: an
// archive may have a stub in front of its entries.
std::int64_t FirstLocalHeader(FileHandle file, std::int64_t fileSize) {
  std::vector<std::uint8_t> window(ScanChunk + 3);
  for (std::int64_t base = 0; base + 4 <= fileSize; base += ScanChunk) {
    const std::int64_t count =
        std::min<std::int64_t>(static_cast<std::int64_t>(window.size()), fileSize - base);
    if (FileSeek(file, base, 0) != base || ReadExact(file, window.data(), count) != count) break;
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(ScanChunk) && i + 4 <= count; ++i)
      if (ByteReader(window.data() + i, 4).U32(0) == LocalRec::Signature) return base + i;
  }
  return fileSize;
}

// The extra field without its zip64 blocks, which mean something else in a central header.
std::vector<std::uint8_t> WithoutZip64(const std::vector<std::uint8_t>& extra) {
  std::vector<std::uint8_t> kept;
  ExtraFieldCursor cursor(extra.data(), extra.size());
  std::uint16_t id = 0;
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  while (cursor.Next(id, block, size))
    if (id != ExtraId::Zip64) kept.insert(kept.end(), block - 4, block + size);
  return kept;
}

// One local header and what follows it, read from the file.
struct LocalHeader {
  SalvagedEntry Entry;
  std::int64_t DataStart = 0;
  std::uint64_t Compressed = 0;
  std::uint64_t Uncompressed = 0;
  bool Wide = false;  // a zip64 block: a data descriptor holds 64-bit sizes
};

bool ReadLocalHeader(FileHandle file, std::int64_t at, std::int64_t fileSize, LocalHeader& header) {
  std::uint8_t fixed[LocalRec::Size];
  if (fileSize - at < static_cast<std::int64_t>(LocalRec::Size) || FileSeek(file, at, 0) != at ||
      ReadExact(file, fixed, LocalRec::Size) != static_cast<std::int64_t>(LocalRec::Size))
    return false;
  const ByteReader h(fixed, LocalRec::Size);
  if (h.U32(LocalRec::Sig) != LocalRec::Signature) return false;
  SalvagedEntry& e = header.Entry;
  e.LocalOffset = at;
  e.VersionNeeded = h.U16(LocalRec::VersionNeeded);
  e.Flags = h.U16(LocalRec::Flags);
  e.Method = h.U16(LocalRec::Method);
  e.DosDateTime = static_cast<std::uint32_t>(h.U16(LocalRec::Time)) |
                  (static_cast<std::uint32_t>(h.U16(LocalRec::Date)) << 16);
  e.Name.assign(h.U16(LocalRec::NameLength), '\0');
  std::vector<std::uint8_t> extra(h.U16(LocalRec::ExtraLength));
  if (ReadExact(file, e.Name.data(), static_cast<std::int64_t>(e.Name.size())) !=
          static_cast<std::int64_t>(e.Name.size()) ||
      ReadExact(file, extra.data(), static_cast<std::int64_t>(extra.size())) !=
          static_cast<std::int64_t>(extra.size()))
    return false;
  header.DataStart = at + static_cast<std::int64_t>(LocalRec::Size + e.Name.size() + extra.size());
  header.Compressed = h.U32(LocalRec::CompressedSize);
  header.Uncompressed = h.U32(LocalRec::UncompressedSize);
  std::uint64_t noOffset = 0;
  ApplyZip64Block(extra.data(), extra.size(), header.Uncompressed, header.Compressed, noOffset);
  header.Wide = HasZip64Block(extra.data(), extra.size());
  e.Crc32 = h.U32(LocalRec::Crc32);
  e.Extra = WithoutZip64(extra);
  return !e.Name.empty();
}

// Finds the end of an entry's data and checks it; false when it is not whole. found holds its
// sizes and CRC, descriptorLength the length of its data descriptor.
bool LocateWholeData(FileHandle file, const LocalHeader& header, std::int64_t fileSize,
                     std::uint64_t outputLeft, EntryDataFound& found, std::int64_t& descriptorLength) {
  const SalvagedEntry& e = header.Entry;
  const bool encrypted = (e.Flags & FlagEncrypted) != 0;
  const bool checkable = !encrypted && (e.Method == MethodStored || e.Method == MethodDeflated);
  const std::int64_t available = fileSize - header.DataStart;
  descriptorLength = 0;
  if ((e.Flags & FlagDataDescriptor) != 0 && !(checkable && e.Method == MethodDeflated))
    return FindDescriptor(file, header.DataStart, fileSize, header.Wide, checkable, found, descriptorLength);
  if ((e.Flags & FlagDataDescriptor) != 0) {
    const std::uint64_t bound = std::min<std::uint64_t>(
        outputLeft, static_cast<std::uint64_t>(available) * MaxExpansionRatio + RatioFreeOutput);
    if (!InflateToEnd(file, header.DataStart, fileSize, bound, found)) return false;
    descriptorLength = MatchingDescriptorAt(
        file, header.DataStart + static_cast<std::int64_t>(found.Compressed), fileSize, header.Wide, found);
    return descriptorLength > 0;
  }
  found = {header.Compressed, header.Uncompressed, e.Crc32};
  if (header.Compressed > static_cast<std::uint64_t>(available)) return false;
  const auto end = header.DataStart + static_cast<std::int64_t>(header.Compressed);
  if (!checkable) return true;
  EntryDataFound data;
  if (e.Method == MethodStored) {
    data = {header.Compressed, header.Compressed, 0};
    if (!CrcOfStored(file, header.DataStart, header.Compressed, data.Crc32)) return false;
  } else if (!InflateToEnd(file, header.DataStart, end, header.Uncompressed, data)) {
    return false;
  }
  return data.Compressed == found.Compressed && data.Uncompressed == found.Uncompressed &&
         data.Crc32 == found.Crc32;
}

}  // namespace

SalvageWalk WalkLocalEntries(FileHandle file, std::int64_t fileSize) {
  SalvageWalk walk;
  walk.FileSize = fileSize;
  std::int64_t at = FirstLocalHeader(file, fileSize);
  std::uint64_t outputLeft = MaxTotalOutput;
  while (walk.Entries.size() < MaxSalvagedEntries) {
    LocalHeader header;
    EntryDataFound found;
    std::int64_t descriptorLength = 0;
    if (!ReadLocalHeader(file, at, fileSize, header) ||
        !LocateWholeData(file, header, fileSize, outputLeft, found, descriptorLength))
      break;
    // The directory written for the entries holds 32-bit sizes, and extraction's bounds hold.
    if (found.Compressed > 0xFFFFFFFE || found.Uncompressed > 0xFFFFFFFE || found.Uncompressed > outputLeft ||
        ExpandsTooMuch(found.Compressed, found.Uncompressed))
      break;
    SalvagedEntry& e = header.Entry;
    e.Crc32 = found.Crc32;
    e.CompressedSize = static_cast<std::uint32_t>(found.Compressed);
    e.UncompressedSize = static_cast<std::uint32_t>(found.Uncompressed);
    e.Length = header.DataStart - at + static_cast<std::int64_t>(found.Compressed) + descriptorLength;
    outputLeft -= found.Uncompressed;
    at += e.Length;
    walk.Entries.push_back(std::move(e));
  }
  walk.StopOffset = at;
  return walk;
}
