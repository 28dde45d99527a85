// The rules both readers of zip records apply alike.
#include "zipformat/ZipRecords.h"

#include <zlib.h>

#include <algorithm>
#include <type_traits>

#include "platform/CodePage.h"

bool IsEndRecordSignature(const std::uint8_t* p) {
  return p[0] == 'P' && p[1] == 'K' && p[2] == 5 && p[3] == 6;
}

std::size_t FindLastEndRecord(const std::uint8_t* data, std::size_t size) {
  if (size < EndRec::Size) return size;
  for (std::size_t i = size - EndRec::Size + 1; i-- > 0;)
    if (IsEndRecordSignature(data + i)) return i;
  return size;
}

bool IsOemText(std::uint8_t host, std::uint8_t madeByVersion) {
  return host == 0 || host == 6 || (host == 11 && madeByVersion == 50);
}

std::optional<std::string> UnicodePathName(const std::string& rawName, const std::uint8_t* extra,
                                           std::size_t extraSize) {
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  while (cursor.Find(ExtraId::UnicodePath, block, size)) {
    if (size < ExtraId::UnicodePathHeader || block[0] != 1) continue;
    const std::uint32_t nameCrc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(rawName.data()), static_cast<uInt>(rawName.size())));
    if (ByteReader(block, size).U32(1) != nameCrc) return std::nullopt;
    std::string name(reinterpret_cast<const char*>(block) + ExtraId::UnicodePathHeader,
                     size - ExtraId::UnicodePathHeader);
    if (!IsValidUtf8(name)) return std::nullopt;
    return name;
  }
  return std::nullopt;
}

std::optional<AesBlock> FindAesBlock(const std::uint8_t* extra, std::size_t extraSize) {
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  while (cursor.Find(ExtraId::Aes, block, size)) {
    const ByteReader r(block, size);
    if (size < 7 || r.U16(2) != 0x4541) continue;
    return AesBlock{r.U16(0), r.U8(4), r.U16(5)};
  }
  return std::nullopt;
}

std::uint16_t FindStrongEncryptionAlgorithm(const std::uint8_t* extra, std::size_t extraSize) {
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  while (cursor.Find(ExtraId::StrongEncryption, block, size))
    if (size >= 4) return ByteReader(block, size).U16(2);
  return 0;
}

void ApplyZip64Block(const std::uint8_t* extra, std::size_t extraSize, std::uint64_t& uncompressed,
                     std::uint64_t& compressed, std::uint64_t& localOffset) {
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  if (!cursor.Find(ExtraId::Zip64, block, size)) return;
  const ByteReader r(block, size);
  std::size_t at = 0;
  for (std::uint64_t* field : {&uncompressed, &compressed, &localOffset}) {
    if (*field != 0xFFFFFFFF) continue;
    const std::uint64_t wide = r.U64(at);
    if (r.Failed()) return;
    *field = wide;
    at += 8;
  }
}

bool HasZip64Block(const std::uint8_t* extra, std::size_t extraSize) {
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  return cursor.Find(ExtraId::Zip64, block, size);
}

bool EntryCountAgrees(std::uint64_t read, std::uint64_t declared) {
  return read == declared || (declared <= 0xFFFF && read > declared && (read - declared) % 0x10000 == 0);
}

DirectoryTotals ReadDirectoryTotals(const std::uint8_t (&end)[EndRec::Size], std::int64_t endPos,
                                    const DirectoryReadAt& read) {
  const ByteReader e(end, EndRec::Size);
  DirectoryTotals totals{e.U16(EndRec::ThisVolume),
                         e.U16(EndRec::CentralVolume),
                         e.U16(EndRec::TotalEntries),
                         e.U32(EndRec::CentralSize),
                         e.U32(EndRec::CentralOffset),
                         endPos,
                         false,
                         true};
  std::uint8_t locator[Zip64LocatorRec::Size];
  const auto locatorPos = endPos - static_cast<std::int64_t>(Zip64LocatorRec::Size);
  if (locatorPos < 0 || !read(locatorPos, locator, sizeof locator) ||
      ByteReader(locator, sizeof locator).U32(Zip64LocatorRec::Sig) != Zip64LocatorRec::Signature)
    return totals;
  // The zip64 end record lies right before its locator, or where the locator says when that is on
  // this volume, the set's last.
  const ByteReader l(locator, sizeof locator);
  const std::uint64_t stated = l.U64(Zip64LocatorRec::RecordOffset);
  const std::uint32_t volumes = l.U32(Zip64LocatorRec::TotalVolumes);
  const bool statedHere =
      volumes <= 1 || static_cast<std::uint64_t>(l.U32(Zip64LocatorRec::RecordVolume)) + 1 == volumes;
  std::uint8_t record[Zip64EndRec::Size];
  const std::int64_t places[] = {locatorPos - static_cast<std::int64_t>(Zip64EndRec::Size),
                                 !statedHere || stated > INT64_MAX ? -1 : static_cast<std::int64_t>(stated)};
  for (const std::int64_t at : places) {
    if (at < 0 || !read(at, record, sizeof record)) continue;
    const ByteReader z(record, sizeof record);
    if (z.U32(Zip64EndRec::Sig) != Zip64EndRec::Signature) continue;
    // A field of the end record stands unless it is full (or, for the count, its low bits); then
    // it takes the zip64 value. Any other difference is a contradiction.
    auto take = [&](auto& value, std::uint64_t full, std::uint64_t wide) {
      if (value == full)
        value = static_cast<std::remove_reference_t<decltype(value)>>(wide);
      else if (value != wide)
        totals.Consistent = false;
    };
    take(totals.ThisVolume, 0xFFFF, z.U32(Zip64EndRec::ThisVolume));
    take(totals.CentralVolume, 0xFFFF, z.U32(Zip64EndRec::CentralVolume));
    const std::uint64_t entries = z.U64(Zip64EndRec::TotalEntries);
    if (EntryCountAgrees(entries, totals.Entries))
      totals.Entries = entries;
    else
      take(totals.Entries, 0xFFFF, entries);
    take(totals.Size, 0xFFFFFFFF, z.U64(Zip64EndRec::CentralSize));
    take(totals.Offset, 0xFFFFFFFF, z.U64(Zip64EndRec::CentralOffset));
    totals.RecordPos = at;
    totals.Zip64 = true;
    return totals;
  }
  return totals;
}

DataExtent EntryExtent(std::uint32_t volume, std::uint64_t localOffset, std::uint64_t compressed) {
  const std::uint64_t size =
      compressed > UINT64_MAX - LocalRec::Size ? UINT64_MAX : LocalRec::Size + compressed;
  return {volume, localOffset, size};
}

bool ExtentsOverlap(std::vector<DataExtent> extents) {
  std::sort(extents.begin(), extents.end(), [](const DataExtent& a, const DataExtent& b) {
    return a.Volume != b.Volume ? a.Volume < b.Volume : a.Start < b.Start;
  });
  for (std::size_t i = 1; i < extents.size(); ++i) {
    const DataExtent& a = extents[i - 1];
    const DataExtent& b = extents[i];
    if (a.Volume == b.Volume && b.Start - a.Start < a.Size) return true;
  }
  return false;
}

bool ExpandsTooMuch(std::uint64_t compressed, std::uint64_t uncompressed) {
  if (uncompressed <= RatioFreeOutput) return false;
  return compressed < UINT64_MAX / MaxExpansionRatio && uncompressed > compressed * MaxExpansionRatio;
}
