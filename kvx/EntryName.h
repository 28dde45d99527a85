#pragma once
// Entry names as UTF-8 with "/" separators.
#include <cstdint>
#include <string>
#include <vector>

// The name from flag bit 11, a Unicode path field whose CRC matches the raw name, a Shift-JIS name
// whose backslash byte belongs to a character, or else the raw bytes, read as code page 437 where
// the records' rule for OEM text says so and kept as they are otherwise. Every backslash left
// separates folders and becomes "/".
std::string EntryNameToUtf8(const std::string& raw, std::uint16_t flags, std::uint8_t host,
                            std::uint8_t madeByVersion, const std::vector<std::uint8_t>& extra);
