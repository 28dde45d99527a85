// Walking the local entries of a cut archive.
#include "zip/salvage/LocalWalk.h"

#include <algorithm>
#include <vector>

#include "zip/records/ReadExact.h"
#include "zip/salvage/EntryData.h"
#include "zipformat/ZipRecords.h"

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

// What the data of a local entry turned out to be.
struct DataFound {
  EntryDataFound Sizes;
  std::int64_t DescriptorLength = 0;  // copied after the data
  bool StoredFromCutStream = false;
  bool Checked = false;  // CRC and sizes checked against the data
};

// A deflated entry with a data descriptor: the stream's end says where the data ends, and the
// descriptor after it must agree with what the stream gave (as far as the file holds it).
bool LocateDeflatedWithDescriptor(FileHandle file, const LocalHeader& header, std::int64_t fileSize,
                                  std::uint64_t outputLeft, DataFound& found) {
  const auto available = static_cast<std::uint64_t>(fileSize - header.DataStart);
  const std::uint64_t bound =
      available > (UINT64_MAX - RatioFreeOutput) / MaxExpansionRatio
          ? outputLeft
          : std::min<std::uint64_t>(outputLeft, available * MaxExpansionRatio + RatioFreeOutput);
  if (!InflateToEnd(file, header.DataStart, fileSize, bound, found.Sizes)) return false;
  const std::int64_t length =
      MatchingDescriptorAt(file, header.DataStart + static_cast<std::int64_t>(found.Sizes.Compressed),
                           fileSize, header.Wide, found.Sizes);
  found.DescriptorLength = length > 0 ? length : 0;  // one the cut took is not copied
  return length != 0;
}

// Deflated data that the file's end cuts: whole when it still inflates to its size and CRC.
bool InflatesWholeThoughCut(FileHandle file, const LocalHeader& header, std::int64_t fileSize,
                            DataFound& found) {
  EntryDataFound data;
  InflateToEnd(file, header.DataStart, fileSize, header.Uncompressed, data);
  if (data.Uncompressed != header.Uncompressed || data.Crc32 != header.Entry.Crc32) return false;
  found.Sizes = {header.Uncompressed, header.Uncompressed, header.Entry.Crc32};
  found.StoredFromCutStream = true;
  return true;
}

// Finds the end of an entry's data and checks it; false when it is not whole.
bool LocateWholeData(FileHandle file, const LocalHeader& header, std::int64_t fileSize,
                     std::uint64_t outputLeft, DataFound& found) {
  const SalvagedEntry& e = header.Entry;
  const bool encrypted = (e.Flags & FlagEncrypted) != 0;
  const bool deflated = !encrypted && e.Method == MethodDeflated;
  const bool checkable = deflated || (!encrypted && e.Method == MethodStored);
  found.Checked = checkable;
  if ((e.Flags & FlagDataDescriptor) != 0) {
    if (deflated) return LocateDeflatedWithDescriptor(file, header, fileSize, outputLeft, found);
    return FindDescriptor(file, header.DataStart, fileSize, header.Wide, checkable, found.Sizes,
                          found.DescriptorLength);
  }
  found.Sizes = {header.Compressed, header.Uncompressed, e.Crc32};
  if (ExpandsTooMuch(header.Compressed, header.Uncompressed) || header.Uncompressed > outputLeft)
    return false;
  if (header.Compressed > static_cast<std::uint64_t>(fileSize - header.DataStart))
    return deflated && InflatesWholeThoughCut(file, header, fileSize, found);
  if (!checkable) return true;
  EntryDataFound data;
  if (e.Method == MethodStored) {
    data = {header.Compressed, header.Compressed, 0};
    if (!CrcOfStored(file, header.DataStart, header.Compressed, data.Crc32)) return false;
  } else if (!InflateToEnd(file, header.DataStart,
                           header.DataStart + static_cast<std::int64_t>(header.Compressed),
                           header.Uncompressed, data)) {
    return false;
  }
  return data.Compressed == found.Sizes.Compressed && data.Uncompressed == found.Sizes.Uncompressed &&
         data.Crc32 == found.Sizes.Crc32;
}

}  // namespace

SalvageWalk WalkLocalEntries(FileHandle file, std::int64_t fileSize) {
  SalvageWalk walk;
  walk.FileSize = fileSize;
  std::int64_t at = FirstLocalHeader(file, fileSize);
  std::uint64_t outputLeft = MaxTotalOutput;
  while (walk.Entries.size() < MaxSalvagedEntries) {
    LocalHeader header;
    DataFound found;
    if (!ReadLocalHeader(file, at, fileSize, header) ||
        !LocateWholeData(file, header, fileSize, outputLeft, found))
      break;
    // The directory written for the entries holds 32-bit sizes, and extraction's bounds hold.
    const EntryDataFound& sizes = found.Sizes;
    if (sizes.Compressed > 0xFFFFFFFE || sizes.Uncompressed > 0xFFFFFFFE || sizes.Uncompressed > outputLeft ||
        ExpandsTooMuch(sizes.Compressed, sizes.Uncompressed))
      break;
    SalvagedEntry& e = header.Entry;
    e.Crc32 = sizes.Crc32;
    e.CompressedSize = static_cast<std::uint32_t>(sizes.Compressed);
    e.UncompressedSize = static_cast<std::uint32_t>(sizes.Uncompressed);
    e.StoredFromCutStream = found.StoredFromCutStream;
    e.DataChecked = found.Checked;
    e.DataStart = header.DataStart;
    if (e.StoredFromCutStream) {
      e.Method = MethodStored;
      e.Flags = static_cast<std::uint16_t>(e.Flags & ~FlagDataDescriptor);
    }
    e.Length =
        found.StoredFromCutStream
            ? fileSize - at
            : header.DataStart - at + static_cast<std::int64_t>(sizes.Compressed) + found.DescriptorLength;
    outputLeft -= sizes.Uncompressed;
    at += e.Length;
    walk.Entries.push_back(std::move(e));
  }
  walk.StopOffset = at;
  return walk;
}
