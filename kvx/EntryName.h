#pragma once
// Entry names as UTF-8 with "/" separators.
#include <cstdint>
#include <string>
#include <vector>

// The name from flag bit 11, a Unicode path field whose CRC matches the raw name, or else the raw
// bytes, read as code page 437 where the records' rule for OEM text says so and kept as they are
// otherwise. Backslashes from FAT, HPFS and NTFS hosts become "/".
std::string EntryNameToUtf8(const std::string& raw, std::uint16_t flags, std::uint8_t host,
                            std::uint8_t madeByVersion, const std::vector<std::uint8_t>& extra);
