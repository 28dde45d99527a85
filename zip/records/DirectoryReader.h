#pragma once
// Reads the directory of the archive whose volume is started into the list results: the end
// record at the end of the volume file, then the central directory headers, across the volumes of
// a spanned set. Every failure raises EZipComponent.
#include <cstdint>
#include <string>

#include "zip/records/ListResults.h"
#include "zipformat/ZipRecords.h"

class TComponentServices;
class TZipVolume;

class TDirectoryReader {
 public:
  TDirectoryReader(TComponentServices& zip, TZipVolume& volume, TListResults& list)
      : FZip(zip), FVolume(volume), FList(list) {}

  // Finds the end record and reads the whole directory.
  void ReadDirectory();
  // On true the record holds the end record and the volume file is open. On false (quiet mode
  // only) the file may still be open: the caller closes it in every case.
  bool LocateEndRecord(std::uint8_t (&record)[EndRec::Size], bool raise);
  const TListResults& Results() const { return FList; }

 private:
  bool FindEndRecord(std::int64_t size, std::uint8_t (&record)[EndRec::Size]);
  void ListCentralDirectory(const std::uint8_t (&endRecord)[EndRec::Size]);
  std::string ConvertOemName(const std::string& name) const;

  TComponentServices& FZip;
  TZipVolume& FVolume;
  TListResults& FList;
};
