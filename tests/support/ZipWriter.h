#pragma once
// Small zip archives built in memory for tests of the directory reader: stored entries, a
// central directory and an end record, with knobs for the defects the tests need.
#include <cstdint>
#include <string>
#include <vector>

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
};

std::string BuildTestZip(const TestZip& zip);
std::uint32_t TestCrc32(const std::string& data);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};
