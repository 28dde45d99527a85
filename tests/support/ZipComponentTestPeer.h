#pragma once
// Reaches into TZipComponent's workings for the tests that drive them one by one.
#include <cstdint>
#include <string>

#include "zip/ZipComp.h"
#include "zip/join/SpanEntry.h"

class TZipComponentTestPeer {
 public:
  static TZipVolume& Volume(TZipComponent& zip) { return zip.FVolume; }
  static TJoinedArchive& JoinedArchive(TZipComponent& zip) { return zip.FJoinedArchive; }
  static TUnzipLibrary& Library(TZipComponent& zip) { return zip.FLibrary; }

  static void*& OwnerWindow(TZipComponent& zip) { return zip.FOwnerWindow; }
  static std::int32_t& LastErrorCode(TZipComponent& zip) { return zip.FLastErrorCode; }
  static std::int32_t& ExtractedCount(TZipComponent& zip) { return zip.FExtractedCount; }
  static bool& InOperation(TZipComponent& zip) { return zip.FInOperation; }

  static void AskExtractPassword(TZipComponent& zip, std::string& password) {
    zip.AskExtractPassword(password);
  }
  static void AskAddPassword(TZipComponent& zip, std::string& password) { zip.AskAddPassword(password); }
  static std::int32_t RemoveExistingFile(TZipComponent& zip, const std::string& fileName, DeleteOpts mode) {
    return zip.RemoveExistingFile(fileName, mode);
  }
  static std::string NewTempArchiveName(TZipComponent& zip, const std::string& prefix,
                                        const std::string& extension) {
    return zip.NewTempArchiveName(prefix, extension);
  }
  static std::string NameFromBuffer(const char* buffer, std::int32_t count) {
    return ::NameFromBuffer(buffer, count);
  }
};
