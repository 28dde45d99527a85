// The JSON form of `kvxtool list`.
#include <cstdio>

#include "tools/ListOutput.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"
#include "zip/records/EntryEncryption.h"

namespace {

const char* Bool(bool value) {
  return value ? "true" : "false";
}

// The packed DOS date and time in ISO 8601, without a zone since it is local time; null when a
// field lies outside its range.
std::string IsoDateTime(std::uint32_t value) {
  const unsigned date = value >> 16, time = value & 0xFFFF;
  const unsigned month = (date >> 5) & 0x0F, day = date & 0x1F;
  const unsigned hour = time >> 11, minute = (time >> 5) & 0x3F, second = (time & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "\"%04u-%02u-%02uT%02u:%02u:%02u\"", 1980 + (date >> 9), month, day, hour,
                minute, second);
  return text;
}

}  // namespace

void PrintListJson(const TZipComponent& zip, const ListResult& result) {
  std::string out = "{\"entries\":[";
  const std::int32_t count = zip.EntryCount();
  for (std::int32_t i = 0; i < count; ++i) {
    const ZipDirEntry& e = *zip.ListResults().DirEntries[static_cast<std::size_t>(i)];
    const std::int32_t seq = static_cast<std::size_t>(i) < result.seqNos.size()
                                 ? result.seqNos[static_cast<std::size_t>(i)]
                                 : i + 1;
    const EntryEncryption encryption = DescribeEncryption(e);
    if (i > 0) out += ",";
    out += "\n{\"seq\":" + std::to_string(seq) + ",\"name\":" + JsonString(ShownName(e.FileName)) +
           ",\"method\":" + std::to_string(e.CompressionMethod) +
           ",\"compressed\":" + std::to_string(e.CompressedSize64) +
           ",\"uncompressed\":" + std::to_string(e.UncompressedSize64) +
           ",\"crc32\":" + std::to_string(e.Crc32) + ",\"dos_datetime\":" + std::to_string(e.FileDateTime) +
           ",\"modified\":" + IsoDateTime(e.FileDateTime) + ",\"encrypted\":" + Bool(e.Encrypted) +
           ",\"comment\":" + JsonString(e.FileComment) +
           ",\"data_method\":" + std::to_string(encryption.DataMethod) + ",\"encryption\":\"" +
           EncryptionName(encryption.Kind) + "\",\"key_bits\":" + std::to_string(encryption.KeyBits) + "}";
  }
  out += "],\n\"skipped_dirs\":" + std::to_string(zip.ListResults().SkippedDirCount) +
         ",\"comment\":" + JsonString(zip.ListResults().ArchiveComment) +
         ",\"multi_volume\":" + Bool(zip.ListResults().MultiVolume) +
         ",\"last_volume\":" + std::to_string(zip.Volume().LastVolume()) +
         ",\"first_entry_offset\":" + std::to_string(zip.ListResults().FirstEntryOffset) +
         ",\"central_dir_offset\":" + std::to_string(zip.ListResults().CentralDirOffset) +
         ",\"end_record_pos\":" + std::to_string(zip.ListResults().EndRecordPos) +
         ",\"structure_warning\":" + Bool(zip.ListResults().StructureWarning) + ",\n\"messages\":[";
  for (std::size_t i = 0; i < result.messages.size(); ++i) {
    if (i > 0) out += ",";
    out += "{\"id\":" + std::to_string(result.messages[i].id) +
           ",\"text\":" + JsonString(result.messages[i].text) + "}";
  }
  out += "]}\n";
  std::fputs(out.c_str(), stdout);
}
