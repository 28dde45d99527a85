#include "tests/support/ZipWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

TestZipEntry TestEntry(const std::string& name, const std::string& data) {
  TestZipEntry entry;
  entry.name = name;
  entry.data = data;
  return entry;
}

std::uint32_t TestCrc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string BuildTestZip(const TestZip& zip) {
  std::string body;
  std::string central;
  for (const TestZipEntry& e : zip.entries) {
    const auto offset = static_cast<std::uint32_t>(body.size());
    const std::uint32_t crc = TestCrc32(e.data);
    const auto size = static_cast<std::uint32_t>(e.data.size());
    Put32(body, 0x04034B50);
    Put16(body, 20);
    Put16(body, e.flags);
    Put16(body, 0);
    Put32(body, e.dosDateTime);
    Put32(body, crc);
    Put32(body, size);
    Put32(body, size);
    Put16(body, static_cast<std::uint32_t>(e.name.size()));
    Put16(body, 0);
    body += e.name + e.data;

    Put32(central, 0x02014B50);
    central += static_cast<char>(e.madeByVersion);
    central += static_cast<char>(e.hostSystem);
    Put16(central, 20);
    Put16(central, e.flags);
    Put16(central, 0);
    Put32(central, e.dosDateTime);
    Put32(central, crc);
    Put32(central, size);
    Put32(central, size);
    Put16(central, static_cast<std::uint32_t>(e.name.size()));
    Put16(central, static_cast<std::uint32_t>(e.extra.size()));
    Put16(central, static_cast<std::uint32_t>(e.comment.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0);
    Put32(central, offset);
    central += e.name + e.extra + e.comment;
  }
  std::string end;
  Put32(end, 0x06054B50);
  Put16(end, zip.thisVolume);
  Put16(end, zip.centralVolume);
  Put16(end, static_cast<std::uint32_t>(zip.entries.size()));
  Put16(end, static_cast<std::uint32_t>(zip.entries.size()));
  Put32(end, static_cast<std::uint32_t>(central.size()));
  Put32(end, static_cast<std::uint32_t>(body.size()));
  Put16(end, static_cast<std::uint32_t>(zip.comment.size()));
  return zip.prefix + body + central + end + zip.comment + zip.suffix;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "folivo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}
