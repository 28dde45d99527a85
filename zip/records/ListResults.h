#pragma once
// What List found out about the archive: its directory and where the archive's parts lie in
// its file. Every List starts from an empty value, so nothing of an earlier archive survives.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zip/ZipTypes.h"

// The largest archive file the component reads: positions are 32-bit, and a declared comment may
// reach 64 KiB past the end of the file.
constexpr std::int64_t MaxArchiveSize = 0x7FFFFFFF - 0x10000;

struct TListResults {
  std::vector<std::unique_ptr<ZipDirEntry>> DirEntries;  // the kept entries, in directory order
  std::int32_t SkippedDirCount = 0;                      // directory-only entries left out
  std::string ArchiveComment;
  bool MultiVolume = false;
  std::int32_t EndRecordPos = 0;
  std::int32_t DataEndPos = 0;  // just after the end record and its declared comment
  std::int32_t ArchiveFileSize = 0;
  std::int32_t CentralDirOffset = 0;  // where the central directory was read
  std::int32_t FirstEntryOffset = 0;  // bytes in front of the zip data
  bool StructureWarning = false;      // the directory is not where the end record says
  // The two bytes of the version-made-by field of the last central header read.
  std::int32_t LastHostSystem = 0;
  std::int32_t LastMadeByVersion = 0;
};
