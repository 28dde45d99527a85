#pragma once
// Small zip archives built in memory for tests of the directory reader: stored entries, a
// central directory and an end record, with knobs for the defects the tests need.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempFiles.h"  // the tests that build archives also write them

struct TestZipEntry {
  std::string name;
  std::string data;
  std::string comment;
  std::string extra;
  std::uint8_t hostSystem = 3;
  std::uint8_t madeByVersion = 30;
  std::uint16_t flags = 0;
  std::uint32_t dosDateTime = 0x5A8C6000;
};

// An entry with the given name and data and every other field at its default.
TestZipEntry TestEntry(const std::string& name, const std::string& data = "");

struct TestZip {
  std::vector<TestZipEntry> entries;
  std::string comment;
  std::string prefix;  // bytes in front of the archive; offsets are not adjusted for them
  std::string suffix;  // bytes after the end record
  std::uint16_t thisVolume = 0;
  std::uint16_t centralVolume = 0;
  // Sizes and offsets in zip64 fields and a zip64 end record; every field of the headers and the
  // end record that may defer to them is full, the end record's volume numbers too.
  bool zip64 = false;
};

std::string BuildTestZip(const TestZip& zip);
std::uint32_t TestCrc32(const std::string& data);

// The low 16 or 32 bits of v, little-endian, appended to out.
void AppendLe16(std::string& out, std::uint32_t v);
void AppendLe32(std::string& out, std::uint32_t v);
void AppendLe64(std::string& out, std::uint64_t v);
