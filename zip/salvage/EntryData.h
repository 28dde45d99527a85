#pragma once
// Checks of one local entry's data in the cut file: where it ends and whether it is whole.
#include <cstdint>
#include <functional>

#include "platform/FileIO.h"

// The data of an entry as found: its compressed and uncompressed sizes and CRC.
struct EntryDataFound {
  std::uint64_t Compressed = 0;
  std::uint64_t Uncompressed = 0;
  std::uint32_t Crc32 = 0;
};

// Where inflated data goes, in order; false stops the inflating.
using InflatedSink = std::function<bool(const std::uint8_t* data, std::size_t count)>;

// Inflates raw deflate data from start, reading no further than end and producing at most
// maxOutput bytes, each handed to sink when one is given; true when the stream ends within those
// bounds. found says how much it took and gave, and the CRC of what it gave, either way.
bool InflateToEnd(FileHandle file, std::int64_t start, std::int64_t end, std::uint64_t maxOutput,
                  EntryDataFound& found, const InflatedSink& sink = nullptr);
// The CRC of the bytes [start, start + count); false when they cannot all be read.
bool CrcOfStored(FileHandle file, std::int64_t start, std::uint64_t count, std::uint32_t& crc);
// The first data descriptor after start, by its signature, whose compressed size is its distance
// from start, before end; wide: the descriptor holds 64-bit sizes. For stored data (checkStored)
// its uncompressed size and CRC must match the bytes too. found and the descriptor's length.
bool FindDescriptor(FileHandle file, std::int64_t start, std::int64_t end, bool wide, bool checkStored,
                    EntryDataFound& found, std::int64_t& descriptorLength);
// Reads the descriptor that follows data ending at at, with or without its signature, and checks
// it against found; its length when it matches, else 0. A descriptor that the end of the file
// cuts (or leaves out) matches when the bytes there agree with found: -1 then.
std::int64_t MatchingDescriptorAt(FileHandle file, std::int64_t at, std::int64_t end, bool wide,
                                  const EntryDataFound& found);
