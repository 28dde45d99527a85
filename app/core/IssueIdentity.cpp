#include "app/core/IssueIdentity.h"

#include <sys/stat.h>

namespace {
// FNV-1a, 64 bits.
class THash {
 public:
  void Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) FValue = (FValue ^ bytes[i]) * 0x100000001b3ULL;
  }
  void AddNumber(std::uint64_t number) {
    for (int shift = 0; shift < 64; shift += 8) {
      const auto byte = static_cast<unsigned char>(number >> shift);
      Add(&byte, 1);
    }
  }
  std::uint64_t Value() const { return FValue; }

 private:
  std::uint64_t FValue = 0xcbf29ce484222325ULL;
};
}  // namespace

std::uint64_t DirectoryHash(const TZipComponent& zip) {
  THash hash;
  const auto& entries = zip.ListResults().DirEntries;
  hash.AddNumber(entries.size());
  for (const auto& entry : entries) {
    // The name's length first, so no two directories hash the same bytes.
    hash.AddNumber(entry->FileName.size());
    hash.Add(entry->FileName.data(), entry->FileName.size());
    hash.AddNumber(entry->Crc32);
    hash.AddNumber(entry->CompressedSize64);
    hash.AddNumber(entry->UncompressedSize64);
    hash.AddNumber(entry->FileDateTime);
    hash.AddNumber(entry->LocalHeaderOffset64);
  }
  return hash.Value();
}

std::optional<TIssueIdentity> IdentityOf(const std::string& fileName, const TZipComponent& zip) {
  struct stat info = {};
  if (stat(fileName.c_str(), &info) != 0) return std::nullopt;
  TIssueIdentity identity;
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  identity.directoryHash = DirectoryHash(zip);
  return identity;
}
