// The stages of joining a spanned set: last volume, central directory, local entries, end record.
#include "zip/join/SpanJoin.h"

#include <algorithm>
#include <limits>

#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/ZipPaths.h"
#include "zip/join/JoinedArchive.h"
#include "zip/records/DirectoryReader.h"
#include "zip/volumes/VolumeNames.h"
#include "zip/volumes/ZipVolume.h"
#include "zipformat/ZipRecords.h"

namespace {

std::int32_t Clamped(std::uint64_t value) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

// Puts the joined archive's local header offset and volume 0 into a central header, or into its
// zip64 field for the header fields that defer to it.
void PlaceOnSingleVolume(std::uint8_t (&header)[CentralRec::Size], std::uint8_t* extra, std::size_t extraSize,
                         std::uint32_t localOffset) {
  const ByteReader central(header, sizeof header);
  bool offsetInField = false, volumeInField = false;
  ExtraFieldCursor cursor(extra, extraSize);
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  if (cursor.Find(ExtraId::Zip64, block, size)) {
    ByteWriter zip64(extra + (block - extra), size);
    std::size_t at = (central.U32(CentralRec::UncompressedSize) == 0xFFFFFFFF ? 8 : 0) +
                     (central.U32(CentralRec::CompressedSize) == 0xFFFFFFFF ? 8 : 0);
    if (central.U32(CentralRec::LocalOffset) == 0xFFFFFFFF) {
      zip64.PutU64(at, localOffset);
      offsetInField = !zip64.Failed();
      at += 8;
    }
    if (central.U16(CentralRec::DiskStart) == 0xFFFF) {
      zip64.PutU32(at, 0);
      volumeInField = !zip64.Failed();
    }
  }
  ByteWriter patch(header, sizeof header);
  if (!offsetInField) patch.PutU32(CentralRec::LocalOffset, localOffset);
  if (!volumeInField) patch.PutU16(CentralRec::DiskStart, 0);
}

}  // namespace

TSpanJoin::TSpanJoin(TComponentServices& zip, TZipVolume& input, TJoinedArchive& output,
                     TDirectoryReader& directory)
    : FZip(zip), FInput(input), FOutput(output), FDirectory(directory), FTransfer(SpanTransferSize) {}

void TSpanJoin::ReadName(std::uint16_t length, std::int32_t messageId) {
  FName.resize(length);
  if (FInput.ReadInput(FName.data(), length) < length) throw EZipComponent(messageId, true);
}

void TSpanJoin::FindLastVolume() {
  UINT driveType = 0;
  for (bool first = true;; first = false) {
    if (!first && (driveType == DRIVE_FIXED || driveType == DRIVE_REMOTE)) {
      // A part file that cannot be read is missing, not an earlier part of the set.
      if (FileSizeOf(FInput.VolumeFileName()) < 0) throw EZipComponent(MessageId::InputFileMissing, true);
      const std::int32_t number = PartNumberOf(FInput.VolumeFileName());
      if (number == 1) throw EZipComponent(MessageId::FirstDiskOfSet, true);
      throw EZipComponent(MessageId::NotLastDiskOfSet, number);
    }
    FInput.CloseVolume();
    driveType = FInput.PromptForVolume();
    FInput.SetNewVolumeWanted(true);
    if (FDirectory.LocateEndRecord(FEnd, false)) break;
  }
  FOutput.SetLastDiskDate(FileGetDate(FInput.VolumeHandle()));
  FEndPos = FDirectory.Results().EndRecordPos;
  const DirectoryTotals totals = ReadSetTotals();
  FZip64 = totals.Zip64;
  FTotal = totals.Entries;
  FInput.SetLastVolume(static_cast<std::int32_t>(totals.ThisVolume));
  // The volume in hand is the last one: a read that runs off it has nowhere to go.
  FInput.SetCurrentVolume(FInput.LastVolume());
  const auto centralVolume = static_cast<std::int32_t>(totals.CentralVolume);
  if (centralVolume != FInput.LastVolume()) FInput.OpenVolume(centralVolume);
  if (totals.Offset > static_cast<std::uint64_t>(INT64_MAX) ||
      FileSeek(FInput.VolumeHandle(), static_cast<std::int64_t>(totals.Offset), 0) < 0)
    throw EZipComponent(MessageId::InputSeekFailed, true);
}

std::uint16_t TSpanJoin::ReadCentralHeader(std::uint8_t (&header)[CentralRec::Size]) {
  FInput.ReadRecord(header, sizeof header, MessageId::CentralHeaderReadFailed);
  const ByteReader central(header, sizeof header);
  if (central.U32(CentralRec::Sig) != CentralRec::Signature)
    throw EZipComponent(MessageId::CentralHeaderBadSignature, true);
  const std::uint16_t nameLength = central.U16(CentralRec::NameLength);
  ReadName(nameLength, MessageId::CentralNameReadFailed);
  return nameLength;
}

void TSpanJoin::FillSpanTable() {
  // The table grows by the headers actually read: an end record alone must not make the join
  // allocate the 65 535 entries it may declare.
  FOutput.BuildSpanTable();
  std::uint64_t byteTotal = 0;
  for (std::uint64_t i = 0; i < FTotal; ++i) {
    std::uint8_t header[CentralRec::Size];
    const std::uint16_t nameLength = ReadCentralHeader(header);
    const ByteReader central(header, sizeof header);
    std::uint64_t compressed = central.U32(CentralRec::CompressedSize);
    std::uint32_t skip = central.U16(CentralRec::ExtraLength) + central.U16(CentralRec::CommentLength);
    if (compressed == 0xFFFFFFFF) {
      // The size is in the zip64 field; the joined archive must still hold it in 32 bits.
      std::uint64_t uncompressed = central.U32(CentralRec::UncompressedSize);
      std::uint64_t offset = central.U32(CentralRec::LocalOffset);
      const std::uint16_t extraLength = central.U16(CentralRec::ExtraLength);
      ReadAcross(FTransfer.data(), extraLength, MessageId::CentralExtraReadFailed);
      ApplyZip64Block(FTransfer.data(), extraLength, uncompressed, compressed, offset);
      if (compressed > 0xFFFFFFFF) throw EZipComponent(MessageId::ArchiveTooLarge, true);
      skip -= extraLength;
    }
    FOutput.AddSpanEntry(NameFromBuffer(FName.data(), nameLength), static_cast<std::uint32_t>(compressed));
    byteTotal += nameLength + compressed + central.U16(CentralRec::ExtraLength) +
                 central.U16(CentralRec::CommentLength);
    FInput.SkipInput(skip, MessageId::InputSeekFailed);
  }
  FInput.OpenVolume(0);
  FOutput.SetReportWrites(true);
  if (FZip.OnProgress) {
    FZip.OnProgress(FZip.Sender(), ptFileCount, std::string(), Clamped(FTotal));
    FZip.OnProgress(FZip.Sender(), ptByteCount, std::string(), Clamped(byteTotal));
  }
}

void TSpanJoin::StartData() {
  std::uint8_t marker[4];
  if (FInput.ReadInput(marker, sizeof marker) < 4 || ByteReader(marker, sizeof marker).U32(0) != SpanMarker)
    throw EZipComponent(MessageId::DataDescriptorBadSignature, true);
}

void TSpanJoin::CopyLocalEntries() {
  const std::string copying = FZip.LoadMessageText(MessageId::CopyingFile, "Copying: ");
  for (std::uint64_t n = 0; n < FTotal; ++n) {
    std::uint8_t header[LocalRec::Size];
    FInput.ReadRecord(header, sizeof header, MessageId::LocalHeaderReadFailed);
    const ByteReader local(header, sizeof header);
    if (local.U32(LocalRec::Sig) != LocalRec::Signature)
      throw EZipComponent(MessageId::LocalHeaderBadSignature, true);
    const std::uint16_t nameLength = local.U16(LocalRec::NameLength);
    const std::uint16_t extraLength = local.U16(LocalRec::ExtraLength);
    const std::uint32_t compressed = local.U32(LocalRec::CompressedSize);
    const bool descriptor = (local.U16(LocalRec::Flags) & FlagDataDescriptor) != 0;
    ReadName(nameLength, MessageId::LocalNameReadFailed);
    ReadAcross(FTransfer.data(), extraLength, MessageId::LocalExtraReadFailed);
    // With a zip64 field a full size field defers to it (the central header's size is the same),
    // and a descriptor's sizes are 8 bytes wide.
    const bool zip64 = HasZip64Block(FTransfer.data(), extraLength);
    const bool deferred = zip64 && compressed == 0xFFFFFFFF;
    const std::uint32_t descriptorSize = DescriptorRec::Size + (zip64 ? 8 : 0);

    const std::size_t k = FOutput.FindSpanEntry(NameFromBuffer(FName.data(), nameLength));
    FOutput.SetLocalOffset(k, FOutput.OutputOffset(MessageId::LocalHeaderWriteFailed));
    const SpanEntry& entry = FOutput.SpanTable()[k];
    const std::string shown = ToBackslashes(entry.Name);
    if (FZip.OnMessage) FZip.OnMessage(FZip.Sender(), 0, copying + shown);
    if (FZip.OnProgress) {
      const std::uint64_t size = std::uint64_t{LocalRec::Size} + nameLength + extraLength +
                                 (deferred ? entry.CompressedSize : compressed) +
                                 (descriptor ? DescriptorRec::Size : 0);
      FZip.OnProgress(FZip.Sender(), ptFileStart, shown, Clamped(size));
    }
    FOutput.WriteToOutput(header, sizeof header, MessageId::LocalHeaderWriteFailed);
    FOutput.WriteToOutput(FName.data(), nameLength, MessageId::LocalHeaderWriteFailed);
    FOutput.WriteToOutput(FTransfer.data(), extraLength, MessageId::LocalExtraReadFailed);
    FOutput.CopyToOutput(FInput, FTransfer.data(),
                         compressed != 0 && !deferred ? compressed : entry.CompressedSize,
                         MessageId::EntryDataReadFailed);
    if (descriptor) {
      std::uint8_t data[DescriptorRec::Size + 8];
      FOutput.CopyToOutput(FInput, data, descriptorSize, MessageId::DataDescriptorFailed);
    }
  }
  FOutput.SetReportWrites(false);
}

void TSpanJoin::CopyCentralDirectory() {
  for (std::uint64_t i = 0; i < FTotal; ++i) {
    std::uint8_t header[CentralRec::Size];
    const std::uint16_t nameLength = ReadCentralHeader(header);
    const ByteReader central(header, sizeof header);
    if (i == 0) FCentralStart = FOutput.OutputOffset(MessageId::CentralHeaderWriteFailed);
    // Central headers come in the order of the first pass: header i is record i.
    const SpanEntry& entry = FOutput.SpanTable()[i];
    if (entry.Name != NameFromBuffer(FName.data(), nameLength))
      throw EZipComponent(MessageId::LocalHeaderNotInTable, true);
    const std::uint16_t extraLength = central.U16(CentralRec::ExtraLength);
    ReadAcross(FTransfer.data(), extraLength, MessageId::CentralExtraReadFailed);
    PlaceOnSingleVolume(header, FTransfer.data(), extraLength, entry.LocalOffset);
    FOutput.WriteToOutput(header, sizeof header, MessageId::CentralHeaderWriteFailed);
    FOutput.WriteToOutput(FName.data(), nameLength, MessageId::CentralHeaderWriteFailed);
    FOutput.WriteToOutput(FTransfer.data(), extraLength, MessageId::CentralExtraReadFailed);
    FOutput.CopyToOutput(FInput, FTransfer.data(), central.U16(CentralRec::CommentLength),
                         MessageId::EntryCommentReadFailed);
  }
}

void TSpanJoin::WriteEndRecord() {
  const std::uint32_t centralEnd = FOutput.OutputOffset(MessageId::EndRecordWriteFailed);
  if (FTotal == 0) FCentralStart = centralEnd;
  if (FZip64 || FTotal >= 0xFFFF) WriteZip64EndRecords(FCentralStart, centralEnd);
  const auto entries = static_cast<std::uint16_t>(std::min<std::uint64_t>(FTotal, 0xFFFF));
  ByteWriter patch(FEnd, sizeof FEnd);
  patch.PutU16(EndRec::ThisVolume, 0);
  patch.PutU16(EndRec::CentralVolume, 0);
  patch.PutU16(EndRec::EntriesThisVolume, entries);
  patch.PutU16(EndRec::TotalEntries, entries);
  patch.PutU32(EndRec::CentralSize, centralEnd - FCentralStart);
  patch.PutU32(EndRec::CentralOffset, FCentralStart);
  FOutput.WriteToOutput(FEnd, sizeof FEnd, MessageId::EndRecordWriteFailed);

  // The input stands at the last volume's end record, or at the zip64 end records in front of it;
  // the archive comment follows the end record.
  if (FZip64 && FileSeek(FInput.VolumeHandle(), FEndPos, 0) != FEndPos)
    throw EZipComponent(MessageId::EndRecordReadFailed, true);
  std::uint8_t record[EndRec::Size];
  FInput.ReadRecord(record, sizeof record, MessageId::EndRecordReadFailed);
  if (ByteReader(record, sizeof record).U32(EndRec::Sig) != EndRec::Signature)
    throw EZipComponent(MessageId::EndRecordReadFailed, true);
  FOutput.CopyToOutput(FInput, FTransfer.data(), ByteReader(FEnd, sizeof FEnd).U16(EndRec::CommentLength),
                       MessageId::ArchiveCommentReadFailed);
}
