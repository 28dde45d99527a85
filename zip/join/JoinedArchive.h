#pragma once
// The archive a join writes: the table that pairs each local header of the set with its central
// entry, and the output file. The table lives from the first pass to the end of the run; the
// output from its creation to Finish, which closes it and deletes it when the run failed.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileIO.h"
#include "zip/join/SpanEntry.h"
#include "zip/volumes/OwnedFile.h"

class TComponentServices;
class TZipVolume;

class TJoinedArchive {
 public:
  explicit TJoinedArchive(TComponentServices& owner) : FOwner(owner) {}
  TJoinedArchive(const TJoinedArchive&) = delete;
  TJoinedArchive& operator=(const TJoinedArchive&) = delete;

  // Starts an empty table; AddSpanEntry appends one record per central header, in central order.
  void BuildSpanTable();
  void FreeSpanTable();
  const std::vector<SpanEntry>& SpanTable() const { return FSpanTable; }
  void AddSpanEntry(const std::string& name, std::uint32_t compressedSize);
  void SetLocalOffset(std::size_t i, std::uint32_t offset) { FSpanTable[i].LocalOffset = offset; }
  // Pairs a local header with its record and returns the record's index: the first record not
  // yet paired whose name equals name exactly, else the first one not yet paired whose name
  // differs only in ASCII letter case. Raises 11026 when there is none, so two local headers
  // never share one record.
  std::size_t FindSpanEntry(const std::string& name);

  // Makes outName the name to write and creates that file (see ReadSpan); raises 11027 or 11009.
  void CreateOutput(const std::string& archiveName, std::string& outName);
  FileHandle OutputHandle() const { return FOutput.Get(); }
  // The output's position; raises messageId when it cannot be told or passes 4 GiB.
  std::uint32_t OutputOffset(std::int32_t messageId) const;
  void SetLastDiskDate(std::int32_t date) { FLastDiskDate = date; }
  // While on, every write to the output raises OnProgress with ptWritten.
  void SetReportWrites(bool on) { FReportWrites = on; }
  void WriteToOutput(const void* buffer, std::int32_t count, std::int32_t messageId);
  // Copies count bytes of the input, across volumes, in chunks of at most SpanTransferSize bytes
  // through buffer (which holds at least min(count, SpanTransferSize) bytes).
  void CopyToOutput(TZipVolume& input, void* buffer, std::uint32_t count, std::int32_t messageId);
  // Ends a run: frees the table, closes the output stamped with the last disk's date, and
  // deletes it and empties outName when the run failed.
  void Finish(std::string& outName, bool failed) noexcept;

 private:
  // Records sharing one name, in central order; those before next are all paired.
  struct NameQueue {
    std::vector<std::size_t> records;
    std::size_t next = 0;
  };
  // The first record of the queue not yet paired, or none.
  bool FirstUnpaired(NameQueue& queue, std::size_t& index) const;

  TComponentServices& FOwner;
  std::vector<SpanEntry> FSpanTable;
  std::unordered_map<std::string, NameQueue> FByName;
  std::unordered_map<std::string, NameQueue> FByFoldedName;  // ASCII letters in lower case
  TOwnedFile FOutput;
  std::int32_t FLastDiskDate = 0;
  bool FReportWrites = false;
};
