// Reading the central directory headers, also across the volumes of a spanned set.
#include <limits>

#include "zip/ByteReader.h"
#include "zip/ReadExact.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipRecords.h"

namespace {

// A name whose last part (after "\" or ":") is empty stands for a directory only.
bool IsDirectoryOnly(const std::string& name) {
  const std::size_t cut = name.find_last_of("\\:");
  return cut == std::string::npos ? name.empty() : cut + 1 == name.size();
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

}  // namespace

void TZipComponent::ReadCentralDirectory(const std::uint8_t (&endRecord)[22], std::int64_t& cd) {
  const ByteReader end(endRecord, EndRec::Size);
  const std::int32_t thisVolume = end.U16(EndRec::ThisVolume);
  const std::int32_t centralVolume = end.U16(EndRec::CentralVolume);
  const std::int32_t total = end.U16(EndRec::TotalEntries);
  const std::int64_t centralSize = end.U32(EndRec::CentralSize);
  const std::int64_t centralOffset = end.U32(EndRec::CentralOffset);
  constexpr std::int64_t maxPosition = std::numeric_limits<std::int32_t>::max();

  if (centralVolume != thisVolume) {
    FVolume.OpenVolume(centralVolume);
    const std::int64_t size = FileSeek(FVolume.VolumeHandle(), 0, 2);
    if (size < 0 || size > maxPosition) throw EZipComponent(MessageId::ListSeekFailed, true);
    FList.DataEndPos = static_cast<std::int32_t>(size);
    cd = centralOffset;
  } else {
    // The volume that holds the end record is the one open.
    FVolume.SetCurrentVolume(thisVolume);
    cd = static_cast<std::int64_t>(FList.EndRecordPos) - centralSize;
  }
  const bool cdValid = cd >= 0 && cd <= maxPosition;
  if (cdValid) FList.CentralDirOffset = static_cast<std::int32_t>(cd);
  FList.FirstEntryOffset = FList.DataEndPos == static_cast<std::int32_t>(EndRec::Size) ? 0 : FList.DataEndPos;
  FList.StructureWarning = centralOffset != cd;
  if (FList.StructureWarning) ReportMessage(MessageId::StructureWarning, "");
  if (!cdValid || FileSeek(FVolume.VolumeHandle(), cd, 0) != cd)
    throw EZipComponent(MessageId::ListSeekFailed, true);

  std::uint8_t header[CentralRec::Size];
  for (std::int32_t k = 1; k <= total; ++k) {
    while (ReadExact(FVolume.VolumeHandle(), header, CentralRec::Size) <
           static_cast<std::int64_t>(CentralRec::Size)) {
      if (FVolume.CurrentVolume() >= thisVolume)
        throw EZipComponent(MessageId::CentralHeaderReadFailed, true);
      FVolume.OpenVolume(FVolume.CurrentVolume() + 1);
    }
    const ByteReader h(header, CentralRec::Size);
    if (h.U32(CentralRec::Sig) != CentralRec::Signature)
      throw EZipComponent(MessageId::CentralHeaderBadSignature, true);
    std::string name(h.U16(CentralRec::NameLength), '\0');
    if (ReadExact(FVolume.VolumeHandle(), name.data(), static_cast<std::int64_t>(name.size())) !=
        static_cast<std::int64_t>(name.size()))
      throw EZipComponent(MessageId::CentralNameReadFailed, true);
    FList.LastMadeByVersion = h.U8(CentralRec::MadeByVersion);
    FList.LastHostSystem = h.U8(CentralRec::MadeByHost);

    auto entry = std::make_unique<ZipDirEntry>();
    FillFromHeader(*entry, h);
    // Names and comments flagged as UTF-8 are already in the ANSI code page.
    const bool utf8 = (entry->GeneralFlags & FlagUtf8) != 0;
    entry->FileName = ToBackslashes(utf8 ? name : ConvertOemName(name));
    if (entry->ExtraFieldLength > 0) {
      entry->ExtraData = std::make_unique<std::uint8_t[]>(entry->ExtraFieldLength + 1u);
      if (ReadExact(FVolume.VolumeHandle(), entry->ExtraData.get(), entry->ExtraFieldLength) !=
          entry->ExtraFieldLength)
        throw EZipComponent(MessageId::ListSeekFailed, true);
    }
    if (entry->FileCommentLength > 0) {
      std::string comment(entry->FileCommentLength, '\0');
      if (ReadExact(FVolume.VolumeHandle(), comment.data(), entry->FileCommentLength) !=
          entry->FileCommentLength)
        throw EZipComponent(MessageId::EntryCommentReadFailed, true);
      entry->FileComment = utf8 ? comment : ConvertOemName(comment);
    }
    const std::uint32_t localOffset = entry->LocalHeaderOffset;
    if (UseDirOnlyEntries() || !IsDirectoryOnly(entry->FileName)) {
      FList.DirEntries.push_back(std::move(entry));
      if (OnNewName) OnNewName(this, k, *FList.DirEntries.back());
    } else {
      ++FList.SkippedDirCount;
    }
    if (static_cast<std::uint32_t>(FList.FirstEntryOffset) > localOffset)
      FList.FirstEntryOffset = static_cast<std::int32_t>(localOffset);
  }
}
