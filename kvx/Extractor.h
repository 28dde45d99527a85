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

class Decoder;
class OutputFile;

class Extractor {
 public:
  explicit Extractor(KvxOptions options);
  // The number of entries extracted whole (tested whole in test mode).
  std::int32_t ExtractAll();

 private:
  bool Selected(const KvxEntry& e) const;
  // Refuses a run whose selected entries declare more than the destination has room for; false
  // (and reported) then.
  bool DeclaredOutputFits();
  // Processes one entry; the folders made for it go again when nothing was written into them.
  void Process(const KvxEntry& e);
  void ProcessEntry(const KvxEntry& e);
  void MakeFolder(const KvxEntry& e);
  // Decides where a file entry goes; false when it was skipped (and reported).
  bool PrepareTarget(const KvxEntry& e, std::string& name, UniqueFd& folder, std::string& leaf,
                     bool& replace);
  // The parts of a target name that is safe to write; false (and reported) when it is not.
  bool SplitTargetName(const KvxEntry& e, const std::string& name, std::vector<std::string>& parts);
  // Opens the folder the target goes into, made where it is missing unless freshening; false (and
  // reported) when it cannot be.
  bool OpenTargetFolder(const KvxEntry& e, const std::string& name, const std::vector<std::string>& parts,
                        UniqueFd& folder);
  // Whether the options and the caller's answer let the entry be written where a file may stand;
  // false (and reported) when it is skipped.
  bool MayWriteOver(const KvxEntry& e, const std::string& name, bool replace, bool older);
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
  void ExtractEntryData(const KvxEntry& e, std::int64_t start, std::uint64_t size, EntryCipher* cipher,
                        OutputFile* out, const std::string& name, bool replace);
  // Decodes the whole of the entry's data, handing it on as it comes, and gives its CRC; false when
  // the entry ended there (skipped and reported, or stopped).
  bool DecodeAll(const KvxEntry& e, Decoder& decoder, OutputFile* out, const std::string& name,
                 std::uint32_t& crc);
  // Takes count bytes from the room left on the destination; false (and reported) when they
  // would eat into the margin that is always left free.
  bool TakeOutputSpace(const KvxEntry& e, const std::string& name, std::size_t count);
  // Writes the bytes just decoded to out and reports them written; false when the entry ends there.
  bool Deliver(const KvxEntry& e, OutputFile* out, const std::string& name, std::size_t produced);
  // Reports a CRC mismatch and asks what to do; true when the data is kept all the same.
  bool KeepDespiteCrc(const KvxEntry& e, OutputFile* out, const std::string& name, std::uint32_t crc);
  // Gives the written file its name and time, and counts it when it came out whole.
  void Commit(const KvxEntry& e, OutputFile& out, const std::string& name, bool replace, bool crcOk);
  // Drops what was written of the entry and reports its data corrupt.
  void Corrupt(const KvxEntry& e, OutputFile* out, const std::string& why);
  void Skip(const std::string& name, std::int32_t reason, std::int32_t code, const std::string& message);

  KvxOptions FOptions;
  KvxCallbacks FCallbacks;
  ArchiveFile FArchive;
  CentralDirectory FDir;
  UniqueFd FBase;
  std::vector<std::uint8_t> FBuffer;
  std::int32_t FRemainingAsks;
  std::int32_t FCount = 0;
  std::uint64_t FSpaceLeft = UINT64_MAX;  // what may still be written before the margin is reached
  std::uint64_t FWrittenSinceMeasure = 0;
  std::vector<std::string> FTargetParts;  // the current entry's target, and the folders made for it
  std::size_t FTargetFolders = 0;
  std::size_t FFirstMadeFolder = 0;
};
