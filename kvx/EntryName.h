#pragma once
// Entry names as UTF-8 with "/" separators.
#include <cstdint>
#include <string>
#include <vector>

// The name from flag bit 11, a Unicode path field whose CRC matches the raw name, or else the raw
// bytes: kept when they are valid UTF-8 from a host other than FAT, HPFS or NTFS, otherwise read as
// code page 437. Backslashes from FAT, HPFS and NTFS hosts become "/".
std::string EntryNameToUtf8(const std::string& raw, std::uint16_t flags, std::uint8_t host,
                            const std::vector<std::uint8_t>& extra);
