// Reading the central directory headers, also across the volumes of a spanned set.
#include "zip/records/DirectoryReader.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/ZipPaths.h"
#include "zip/records/ReadExact.h"
#include "zip/volumes/ZipVolume.h"
#include "zipformat/ZipRecords.h"

namespace {

// A name whose last part (after "\" or ":") is empty stands for a directory only.
bool IsDirectoryOnly(const std::string& name) {
  const std::size_t cut = name.find_last_of("\\:");
  return cut == std::string::npos ? name.empty() : cut + 1 == name.size();
}

// What List keeps of extra fields and file comments, at most so many bytes in all; past that an
// entry whose field no longer fits keeps none of it (its lengths still say what the archive holds).
class DirectoryBudget {
 public:
  bool Take(std::size_t bytes) {
    if (bytes > FLeft) return false;
    FLeft -= bytes;
    return true;
  }

 private:
  std::size_t FLeft = 16u << 20;
};

// The name, extra field and comment that follow a central header.
struct CentralParts {
  std::string Name;
  std::vector<std::uint8_t> Extra;
  std::string Comment;
};

void ReadCentralParts(FileHandle file, const ByteReader& h, CentralParts& parts) {
  auto read = [file](void* to, std::size_t count) {
    return ReadExact(file, to, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
  };
  parts.Name.assign(h.U16(CentralRec::NameLength), '\0');
  if (!read(parts.Name.data(), parts.Name.size()))
    throw EZipComponent(MessageId::CentralNameReadFailed, true);
  parts.Extra.resize(h.U16(CentralRec::ExtraLength));
  if (!read(parts.Extra.data(), parts.Extra.size())) throw EZipComponent(MessageId::ListSeekFailed, true);
  parts.Comment.assign(h.U16(CentralRec::CommentLength), '\0');
  if (!read(parts.Comment.data(), parts.Comment.size()))
    throw EZipComponent(MessageId::EntryCommentReadFailed, true);
}

// The 64-bit sizes and offset of an entry, from its zip64 field where the header's are full.
void ApplyZip64Values(ZipDirEntry& entry, const std::vector<std::uint8_t>& extra) {
  entry.UncompressedSize64 = entry.UncompressedSize;
  entry.CompressedSize64 = entry.CompressedSize;
  entry.LocalHeaderOffset64 = entry.LocalHeaderOffset;
  ApplyZip64Block(extra.data(), extra.size(), entry.UncompressedSize64, entry.CompressedSize64,
                  entry.LocalHeaderOffset64);
}

void FillFromHeader(ZipDirEntry& entry, const ByteReader& h) {
  using namespace CentralRec;
  entry.VersionMadeBy = h.U8(MadeByVersion);
  entry.HostSystem = h.U8(MadeByHost);
  entry.VersionNeeded = h.U16(VersionNeeded);
  entry.GeneralFlags = h.U16(Flags);
  entry.CompressionMethod = h.U16(Method);
  entry.FileDateTime =
      static_cast<std::uint32_t>(h.U16(Time)) | (static_cast<std::uint32_t>(h.U16(Date)) << 16);
  entry.Crc32 = h.U32(Crc32);
  entry.CompressedSize = h.U32(CompressedSize);
  entry.UncompressedSize = h.U32(UncompressedSize);
  entry.FileNameLength = h.U16(NameLength);
  entry.ExtraFieldLength = h.U16(ExtraLength);
  entry.FileCommentLength = h.U16(CommentLength);
  entry.DiskNumberStart = h.U16(DiskStart);
  entry.InternalAttributes = h.U16(InternalAttributes);
  entry.ExternalAttributes = h.U32(ExternalAttributes);
  entry.LocalHeaderOffset = h.U32(LocalOffset);
  entry.Encrypted = (entry.GeneralFlags & FlagEncrypted) != 0;
}

constexpr std::int64_t MaxPosition = std::numeric_limits<std::int32_t>::max();

// The set's numbers from the end record and the zip64 records it defers to, checked.
DirectoryTotals ReadCheckedTotals(FileHandle file, const std::uint8_t (&endRecord)[EndRec::Size],
                                  std::int64_t endRecordPos) {
  const DirectoryTotals totals = ReadDirectoryTotals(
      endRecord, endRecordPos, [file](std::int64_t at, std::uint8_t* buffer, std::size_t count) {
        return FileSeek(file, at, 0) == at &&
               ReadExact(file, buffer, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
      });
  if (!totals.Consistent) throw EZipComponent(MessageId::EndRecordReadFailed, true);
  // Volume numbers as the zip64 end record resolves them.
  if (totals.ThisVolume > EndRec::MaxVolumeNumber || totals.CentralVolume > totals.ThisVolume)
    throw EZipComponent(MessageId::EndRecordReadFailed, true);
  return totals;
}

// Where the directory lies as the end records say, in the component's 32-bit positions.
struct DirectoryPlace {
  std::int32_t ThisVolume;     // the last volume, which holds the end record
  std::int32_t CentralVolume;  // the volume on which the directory starts
  std::int64_t Size;
  std::int64_t Offset;
};

DirectoryPlace PlaceOf(const DirectoryTotals& totals) {
  return {static_cast<std::int32_t>(totals.ThisVolume), static_cast<std::int32_t>(totals.CentralVolume),
          static_cast<std::int64_t>(std::min<std::uint64_t>(totals.Size, MaxPosition)),
          static_cast<std::int64_t>(std::min<std::uint64_t>(totals.Offset, MaxPosition))};
}

// Makes the volume on which the directory starts the open one; returns where the directory starts
// on it: its declared offset on another volume, or what its size leaves before the end records.
std::int64_t OpenDirectoryVolume(TZipVolume& volume, TListResults& list, const DirectoryPlace& place,
                                 std::int64_t recordPos) {
  if (place.CentralVolume == place.ThisVolume) {
    // The volume that holds the end record is the one open.
    volume.SetCurrentVolume(place.ThisVolume);
    return recordPos - place.Size;
  }
  volume.OpenVolume(place.CentralVolume);
  const std::int64_t size = FileSeek(volume.VolumeHandle(), 0, 2);
  if (size < 0 || size > MaxPosition) throw EZipComponent(MessageId::ListSeekFailed, true);
  list.DataEndPos = static_cast<std::int32_t>(size);
  return place.Offset;
}

// Reads the next central header, going on to the next volume where one ends.
void ReadNextHeader(TZipVolume& volume, std::int32_t lastVolume, std::uint8_t (&header)[CentralRec::Size]) {
  while (ReadExact(volume.VolumeHandle(), header, CentralRec::Size) <
         static_cast<std::int64_t>(CentralRec::Size)) {
    if (volume.CurrentVolume() >= lastVolume) throw EZipComponent(MessageId::CentralHeaderReadFailed, true);
    volume.OpenVolume(volume.CurrentVolume() + 1);
  }
  if (ByteReader(header, CentralRec::Size).U32(CentralRec::Sig) != CentralRec::Signature)
    throw EZipComponent(MessageId::CentralHeaderBadSignature, true);
}

// The listed entry for a central header and its parts. Names and comments flagged as UTF-8 are
// already in the ANSI code page; a Unicode path field names the entry as the unzip library will
// write it; convertOem turns any other text into the ANSI code page.
template <class ConvertOem>
std::unique_ptr<ZipDirEntry> MakeEntry(const ByteReader& h, const CentralParts& parts,
                                       DirectoryBudget& budget, ConvertOem convertOem) {
  auto entry = std::make_unique<ZipDirEntry>();
  FillFromHeader(*entry, h);
  const bool utf8 = (entry->GeneralFlags & FlagUtf8) != 0;
  std::optional<std::string> unicode;
  if (!utf8) unicode = UnicodePathName(parts.Name, parts.Extra.data(), parts.Extra.size());
  // A Shift-JIS name whose backslash byte belongs to a character is read whole, as the unzip
  // library reads it, so that byte never splits it into folders.
  if (!utf8 && !unicode) unicode = TwoByteNameToUtf8(parts.Name);
  entry->FileName = ToBackslashes(utf8 ? parts.Name : unicode ? *unicode : convertOem(parts.Name));
  if (!parts.Extra.empty() && budget.Take(parts.Extra.size())) {
    entry->ExtraData = std::make_unique<std::uint8_t[]>(parts.Extra.size() + 1u);
    std::copy(parts.Extra.begin(), parts.Extra.end(), entry->ExtraData.get());
  }
  if (!parts.Comment.empty() && budget.Take(parts.Comment.size()))
    entry->FileComment = utf8 ? parts.Comment : convertOem(parts.Comment);
  ApplyZip64Values(*entry, parts.Extra);
  return entry;
}

// The bytes a central header takes in the directory, with its name, extra field and comment.
std::int64_t HeaderBytes(const CentralParts& parts) {
  return static_cast<std::int64_t>(CentralRec::Size + parts.Name.size() + parts.Extra.size() +
                                   parts.Comment.size());
}

}  // namespace

void TDirectoryReader::ReadDirectory() {
  std::uint8_t record[EndRec::Size] = {};
  LocateEndRecord(record, true);
  ListCentralDirectory(record);
}

void TDirectoryReader::ListCentralDirectory(const std::uint8_t (&endRecord)[EndRec::Size]) {
  const DirectoryTotals totals = ReadCheckedTotals(FVolume.VolumeHandle(), endRecord, FList.EndRecordPos);
  const DirectoryPlace place = PlaceOf(totals);
  FVolume.SetLastVolume(place.ThisVolume);
  if (place.ThisVolume > 0) FList.MultiVolume = true;

  const std::int64_t cd = OpenDirectoryVolume(FVolume, FList, place, totals.RecordPos);
  const bool cdValid = cd >= 0 && cd <= MaxPosition;
  if (cdValid) FList.CentralDirOffset = static_cast<std::int32_t>(cd);
  FList.FirstEntryOffset = FList.DataEndPos == static_cast<std::int32_t>(EndRec::Size) ? 0 : FList.DataEndPos;
  FList.StructureWarning = place.Offset != cd;
  if (FList.StructureWarning) FZip.ReportMessage(MessageId::StructureWarning, "");
  if (!cdValid || FileSeek(FVolume.VolumeHandle(), cd, 0) != cd)
    throw EZipComponent(MessageId::ListSeekFailed, true);

  // Headers are read until both the end record's count and the directory's size are used up; a
  // directory that holds more or fewer headers than its end record says is refused, as the unzip
  // library refuses it, so that no entry is extracted that was not listed.
  DirectoryBudget budget;
  std::vector<DataExtent> extents;
  CentralParts parts;
  std::int64_t consumed = 0;
  std::uint64_t k = 0;
  std::uint8_t header[CentralRec::Size];
  while (k < totals.Entries || consumed < place.Size) {
    ++k;
    ReadNextHeader(FVolume, place.ThisVolume, header);
    const ByteReader h(header, CentralRec::Size);
    ReadCentralParts(FVolume.VolumeHandle(), h, parts);
    FList.LastMadeByVersion = h.U8(CentralRec::MadeByVersion);
    FList.LastHostSystem = h.U8(CentralRec::MadeByHost);
    auto entry =
        MakeEntry(h, parts, budget, [this](const std::string& text) { return ConvertOemName(text); });
    consumed += HeaderBytes(parts);
    extents.push_back(EntryExtent(place.ThisVolume > 0 ? entry->DiskNumberStart : 0,
                                  entry->LocalHeaderOffset64, entry->CompressedSize64));

    const std::uint64_t firstOffset = entry->LocalHeaderOffset64;
    const auto seqNo = static_cast<std::int32_t>(std::min<std::uint64_t>(k, INT32_MAX));
    if (FZip.UseDirOnlyEntries() || !IsDirectoryOnly(entry->FileName)) {
      FList.DirEntries.push_back(std::move(entry));
      if (FZip.OnNewName) FZip.OnNewName(FZip.Sender(), seqNo, *FList.DirEntries.back());
    } else {
      ++FList.SkippedDirCount;
    }
    if (static_cast<std::uint64_t>(FList.FirstEntryOffset) > firstOffset)
      FList.FirstEntryOffset = static_cast<std::int32_t>(firstOffset);
  }
  if (consumed != place.Size || !EntryCountAgrees(k, totals.Entries))
    throw EZipComponent(MessageId::CentralHeaderReadFailed, true);
  if (ExtentsOverlap(std::move(extents))) throw EZipComponent(MessageId::NotAValidArchive, true);
  // The first entry's offset counts from the start of the file: a stub in front of offsets that
  // leave it out moves it by the stub's size.
  FList.FirstEntryOffset = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(FList.FirstEntryOffset + cd - place.Offset, INT32_MIN, INT32_MAX));
}

std::string TDirectoryReader::ConvertOemName(const std::string& name) const {
  const auto host = static_cast<std::uint8_t>(FList.LastHostSystem);
  const auto version = static_cast<std::uint8_t>(FList.LastMadeByVersion);
  // cpAuto follows the rule the unzip library uses; HPFS and NTFS 5.0 hosts convert even with cpNone.
  const bool convert = FZip.CodePage() == cpOEM || (FZip.CodePage() == cpAuto && IsOemText(host, version)) ||
                       host == 6 || (host == 11 && version == 50);
  if (!convert) return name;
  std::string result;
  result.reserve(name.size());
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 128)
      result += c;
    else
      result += OemCharToAnsi(byte);
  }
  return result;
}
