#pragma once
// One run of joining a spanned set into a single archive, stage by stage. Every stage raises
// EZipComponent on failure; ReadSpan reports it and cleans up.
#include <cstdint>
#include <vector>

#include "zipformat/ZipRecords.h"

class TComponentServices;
class TDirectoryReader;
class TJoinedArchive;
class TZipVolume;

class TSpanJoin {
 public:
  // Reads the set through input, finding its end records with directory, and writes it through
  // output; zip gives the events and texts.
  TSpanJoin(TComponentServices& zip, TZipVolume& input, TJoinedArchive& output, TDirectoryReader& directory);
  // Asks for volumes until one holds an end record; reads the set's numbers from it.
  void FindLastVolume();
  // Reads the central directory once, filling the span table; writes nothing.
  void FillSpanTable();
  // Opens the first volume and checks that it begins with the spanning marker.
  void StartData();
  // Copies every local entry in disk order and notes where each one went.
  void CopyLocalEntries();
  // Copies the central directory with offsets and volume numbers made single-volume.
  void CopyCentralDirectory();
  // Writes the end record and carries the archive comment over.
  void WriteEndRecord();

 private:
  void ReadName(std::uint16_t length, std::int32_t messageId);
  // Reads count bytes into buffer, continuing on the next volume when one ends.
  void ReadAcross(std::uint8_t* buffer, std::uint32_t count, std::int32_t messageId);
  // The set's numbers from the last volume's end records, the zip64 ones where the end record
  // defers to them; the last volume is the one open.
  DirectoryTotals ReadSetTotals();
  // Writes a zip64 end record and its locator for a directory of FTotal entries.
  void WriteZip64EndRecords(std::uint32_t centralStart, std::uint32_t centralEnd);
  // Reads one central header and its name into FName; returns the name's length.
  std::uint16_t ReadCentralHeader(std::uint8_t (&header)[CentralRec::Size]);
  TComponentServices& FZip;
  TZipVolume& FInput;
  TJoinedArchive& FOutput;
  TDirectoryReader& FDirectory;
  std::uint8_t FEnd[EndRec::Size] = {};
  std::uint64_t FTotal = 0;
  std::uint32_t FCentralStart = 0;
  bool FZip64 = false;                  // the set ends in a zip64 end record
  std::int64_t FEndPos = 0;             // the end record's position on the last volume
  std::vector<char> FName;              // the name just read, as long as it is
  std::vector<std::uint8_t> FTransfer;  // carries extra fields, data and comments
};
