#pragma once
// What a cut archive still holds: its local entries walked from the start of the file, each one
// taken only when its data is whole and checks out, up to the first that does not.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileIO.h"

// One whole entry of the cut file, with what its central header needs.
struct SalvagedEntry {
  std::int64_t LocalOffset = 0;  // where its local header starts in the cut file
  std::int64_t Length = 0;       // local header, data and data descriptor
  std::uint16_t VersionNeeded = 0;
  std::uint16_t Flags = 0;
  std::uint16_t Method = 0;
  std::uint32_t DosDateTime = 0;  // date high word, time low word
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::string Name;                 // the name's bytes as the local header holds them
  std::vector<std::uint8_t> Extra;  // the local extra field without its zip64 block
  // Deflated data that the cut ends in its last bytes but that inflates whole, to its size and
  // CRC: it is written stored, inflated from DataStart, under a local header of its own.
  bool StoredFromCutStream = false;
  std::int64_t DataStart = 0;
  // Its CRC and sizes were checked here; the unzip library's test checks the other methods.
  bool DataChecked = false;
};

struct SalvageWalk {
  std::vector<SalvagedEntry> Entries;
  std::int64_t StopOffset = 0;  // where the first thing that is not a whole entry starts
  std::int64_t FileSize = 0;
};

// At most this many entries are taken: the directory written for them has no zip64 records.
constexpr std::size_t MaxSalvagedEntries = 0xFFFF;

// Walks the local entries of file (fileSize bytes) from the first local header signature on.
// An entry is taken when its data lies whole in the file, within the bounds of an extraction, and,
// where it can be checked without a password, its CRC and sizes match: stored and deflated data
// are checked here (DataChecked), the other methods by the caller. An entry with a data descriptor is
// found by the descriptor's signature and sizes (a deflated one by the end of its stream; a
// descriptor that the cut takes off counts when what is left of it agrees). The last entry may
// be deflated data cut in its last bytes that still inflates whole (see StoredFromCutStream).
SalvageWalk WalkLocalEntries(FileHandle file, std::int64_t fileSize);
