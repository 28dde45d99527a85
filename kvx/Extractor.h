#pragma once
// One run of the library: reads the directory and extracts (or tests) the selected entries.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kvx/ArchiveFile.h"
#include "kvx/Callbacks.h"
#include "kvx/CentralDirectory.h"
#include "kvx/EntryCipher.h"
#include "kvx/KvxOptions.h"
#include "kvx/OutputTree.h"

class OutputFile;

class Extractor {
 public:
  explicit Extractor(KvxOptions options);
  // The number of entries extracted whole (tested whole in test mode).
  std::int32_t Run();

 private:
  bool Selected(const KvxEntry& e) const;
  void Process(const KvxEntry& e);
  void MakeFolder(const KvxEntry& e);
  // Decides where a file entry goes; false when it was skipped (and reported).
  bool PrepareTarget(const KvxEntry& e, std::string& name, UniqueFd& folder, std::string& leaf,
                     bool& replace);
  bool Unsupported(const KvxEntry& e);
  // Finds the entry's data and sets the cipher up; false when it was skipped (and reported).
  bool LocateData(const KvxEntry& e, std::int64_t& start, std::uint64_t& size,
                  std::unique_ptr<EntryCipher>& cipher);
  // Reads the encryption header at start; false (and reported) when the data is too short for it
  // and a trailer of trailerSize bytes.
  bool ReadEncryptionHeader(const KvxEntry& e, std::int64_t start, std::uint64_t size, std::uint8_t* header,
                            std::size_t headerSize, std::size_t trailerSize);
  // Tries the password, then asks for one until unlock accepts it; false when the entry was skipped.
  bool UnlockEntry(const KvxEntry& e, std::unique_ptr<EntryCipher>& cipher,
                   const std::function<std::unique_ptr<EntryCipher>(const std::string&)>& unlock);
  // Decodes the entry into out (null in test mode), checks size, authentication code and CRC, and
  // gives the file its name; counts the entry when it came out whole.
  void Decode(const KvxEntry& e, std::int64_t start, std::uint64_t size, EntryCipher* cipher, OutputFile* out,
              const std::string& name, bool replace);
  void Skip(const std::string& name, std::int32_t reason, std::int32_t code, const std::string& message);

  KvxOptions FOptions;
  KvxCallbacks FCallbacks;
  ArchiveFile FArchive;
  CentralDirectory FDir;
  UniqueFd FBase;
  std::vector<std::uint8_t> FBuffer;
  std::int32_t FRemainingAsks;
  std::int32_t FCount = 0;
};
