#include "tests/support/ZipWriter.h"

void AppendLe16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void AppendLe32(std::string& out, std::uint32_t v) {
  AppendLe16(out, v & 0xFFFF);
  AppendLe16(out, v >> 16);
}

void AppendLe64(std::string& out, std::uint64_t v) {
  AppendLe32(out, static_cast<std::uint32_t>(v));
  AppendLe32(out, static_cast<std::uint32_t>(v >> 32));
}

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
    AppendLe32(body, 0x04034B50);
    AppendLe16(body, 20);
    AppendLe16(body, e.flags);
    AppendLe16(body, 0);
    AppendLe32(body, e.dosDateTime);
    AppendLe32(body, crc);
    AppendLe32(body, size);
    AppendLe32(body, size);
    AppendLe16(body, static_cast<std::uint32_t>(e.name.size()));
    AppendLe16(body, 0);
    body += e.name + e.data;

    AppendLe32(central, 0x02014B50);
    central += static_cast<char>(e.madeByVersion);
    central += static_cast<char>(e.hostSystem);
    AppendLe16(central, 20);
    AppendLe16(central, e.flags);
    AppendLe16(central, 0);
    AppendLe32(central, e.dosDateTime);
    AppendLe32(central, crc);
    std::string extra = e.extra;
    if (zip.zip64) {
      AppendLe16(extra, 0x0001);
      AppendLe16(extra, 24);
      AppendLe64(extra, size);
      AppendLe64(extra, size);
      AppendLe64(extra, offset);
    }
    const std::uint32_t full = zip.zip64 ? 0xFFFFFFFF : 0;
    AppendLe32(central, size | full);
    AppendLe32(central, size | full);
    AppendLe16(central, static_cast<std::uint32_t>(e.name.size()));
    AppendLe16(central, static_cast<std::uint32_t>(extra.size()));
    AppendLe16(central, static_cast<std::uint32_t>(e.comment.size()));
    AppendLe16(central, 0);
    AppendLe16(central, 0);
    AppendLe32(central, 0);
    AppendLe32(central, offset | full);
    central += e.name + extra + e.comment;
  }
  std::string end;
  if (zip.zip64) {
    const auto recordPos = static_cast<std::uint64_t>(body.size() + central.size());
    AppendLe32(end, 0x06064B50);
    AppendLe64(end, 44);
    AppendLe16(end, 45);
    AppendLe16(end, 45);
    AppendLe32(end, zip.thisVolume);
    AppendLe32(end, zip.centralVolume);
    AppendLe64(end, zip.entries.size());
    AppendLe64(end, zip.entries.size());
    AppendLe64(end, central.size());
    AppendLe64(end, body.size());
    AppendLe32(end, 0x07064B50);
    AppendLe32(end, zip.thisVolume);
    AppendLe64(end, recordPos);
    AppendLe32(end, zip.thisVolume + 1u);
  }
  const std::uint32_t full16 = zip.zip64 ? 0xFFFF : 0, full32 = zip.zip64 ? 0xFFFFFFFF : 0;
  AppendLe32(end, 0x06054B50);
  AppendLe16(end, zip.thisVolume | full16);
  AppendLe16(end, zip.centralVolume | full16);
  AppendLe16(end, static_cast<std::uint32_t>(zip.entries.size()) | full16);
  AppendLe16(end, static_cast<std::uint32_t>(zip.entries.size()) | full16);
  AppendLe32(end, static_cast<std::uint32_t>(central.size()) | full32);
  AppendLe32(end, static_cast<std::uint32_t>(body.size()) | full32);
  AppendLe16(end, static_cast<std::uint32_t>(zip.comment.size()));
  return zip.prefix + body + central + end + zip.comment + zip.suffix;
}
