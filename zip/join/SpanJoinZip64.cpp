// The parts of a join that the zip64 records need: the set's numbers from a zip64 end record, and
// the zip64 end records of the joined archive.
#include "platform/FileIO.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/join/JoinedArchive.h"
#include "zip/join/SpanJoin.h"
#include "zip/records/DirectoryReader.h"
#include "zip/records/ReadExact.h"
#include "zip/volumes/ZipVolume.h"

void TSpanJoin::ReadAcross(std::uint8_t* buffer, std::uint32_t count, std::int32_t messageId) {
  while (count > 0) {
    const std::int64_t got = FInput.ReadInput(buffer, count);
    buffer += got;
    count -= static_cast<std::uint32_t>(got);
    if (count == 0) return;
    if (!FInput.AtInputEnd()) throw EZipComponent(messageId, true);
    FInput.NextVolume(messageId);
  }
}

DirectoryTotals TSpanJoin::ReadSetTotals() {
  const FileHandle last = FInput.VolumeHandle();
  const DirectoryTotals totals = ReadDirectoryTotals(
      FEnd, FDirectory.Results().EndRecordPos,
      [last](std::int64_t at, std::uint8_t* buffer, std::size_t count) {
        return FileSeek(last, at, 0) == at &&
               ReadExact(last, buffer, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
      });
  if (!totals.Consistent || totals.ThisVolume > EndRec::MaxVolumeNumber ||
      totals.CentralVolume > totals.ThisVolume)
    throw EZipComponent(MessageId::EndRecordReadFailed, true);
  return totals;
}

void TSpanJoin::WriteZip64EndRecords(std::uint32_t centralStart, std::uint32_t centralEnd) {
  const std::uint32_t recordPos = FOutput.OutputOffset(MessageId::EndRecordWriteFailed);
  std::uint8_t record[Zip64EndRec::Size] = {};
  ByteWriter z(record, sizeof record);
  z.PutU32(Zip64EndRec::Sig, Zip64EndRec::Signature);
  z.PutU64(Zip64EndRec::RecordSize, Zip64EndRec::SizeAfterSizeField);
  z.PutU16(Zip64EndRec::MadeBy, Zip64EndRec::Version);
  z.PutU16(Zip64EndRec::VersionNeeded, Zip64EndRec::Version);
  z.PutU64(Zip64EndRec::EntriesThisVolume, FTotal);
  z.PutU64(Zip64EndRec::TotalEntries, FTotal);
  z.PutU64(Zip64EndRec::CentralSize, centralEnd - centralStart);
  z.PutU64(Zip64EndRec::CentralOffset, centralStart);
  FOutput.WriteToOutput(record, sizeof record, MessageId::EndRecordWriteFailed);

  std::uint8_t locator[Zip64LocatorRec::Size] = {};
  ByteWriter l(locator, sizeof locator);
  l.PutU32(Zip64LocatorRec::Sig, Zip64LocatorRec::Signature);
  l.PutU64(Zip64LocatorRec::RecordOffset, recordPos);
  l.PutU32(Zip64LocatorRec::TotalVolumes, 1);
  FOutput.WriteToOutput(locator, sizeof locator, MessageId::EndRecordWriteFailed);
}
