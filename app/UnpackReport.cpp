#include "app/UnpackReport.h"

#include "platform/CodePage.h"

TUnpackReport::TUnpackReport(TZipComponent& zip) : FZip(zip) {
  FZip.OnExtractSkipped = [this](TObject*, const std::string&, UnZipSkipTypes reason, std::int32_t) {
    Skipped(reason);
  };
  // A damaged file is not written: it is counted when the library skips it.
  FZip.OnCRC32Error = [](TObject*, const std::string&, std::uint32_t, std::uint32_t, bool& doExtract) {
    doExtract = false;
  };
  FZip.OnMessage = [this](TObject*, std::int32_t code, const std::string& text) { Message(code, text); };
}

TUnpackReport::~TUnpackReport() {
  FZip.OnExtractSkipped = nullptr;
  FZip.OnCRC32Error = nullptr;
  FZip.OnMessage = nullptr;
}

void TUnpackReport::Skipped(UnZipSkipTypes reason) {
  if (FSkipped++ == 0) FFirstReason = SkipReasonText(reason);
}

// The component's own reports come with code 0 and are shown in its box already; the library's
// messages carry their error code and are shown nowhere.
void TUnpackReport::Message(std::int32_t code, const std::string& text) {
  if (code == 0)
    FComponentReported = true;
  else if (FLibraryError.empty())
    FLibraryError = text;
}

std::string TUnpackReport::Text() const {
  if (!FZip.HasDirectory()) return "";  // the directory could not be read: List said why
  std::string text;
  if (FSkipped > 0) {
    text = std::to_string(FSkipped) + (FSkipped == 1 ? " file" : " files") +
           " of this issue could not be unpacked: " + FFirstReason + ".";
  } else if (!FComponentReported && !FLibraryError.empty() && FZip.ExtractedCount < FZip.EntryCount()) {
    const int missing = FZip.EntryCount() - FZip.ExtractedCount;
    text = std::to_string(missing) + (missing == 1 ? " file" : " files") +
           " of this issue could not be unpacked: " + FLibraryError + ".";
  }
  bool hasIndex = false;
  for (const auto& entry : FZip.ListResults().DirEntries)
    hasIndex = hasIndex || CompareTextIgnoreCase(entry->FileName, "index.htm") == 0;
  if (!hasIndex) {
    if (!text.empty()) text += "\n\n";
    text += "This issue has no index.htm at its top: its first page cannot be shown.";
  }
  return text;
}

std::string SkipReasonText(UnZipSkipTypes reason) {
  switch (reason) {
    case stBadPassword:
      return "wrong or missing password";
    case stNoEncryptionSupport:
      return "unsupported encryption";
    case stCompressionUnknown:
      return "unsupported compression method";
    case stUnknownZipVersion:
      return "made by a newer zip version";
    case stBadName:
      return "unsafe file name";
    case stCorrupt:
      return "damaged data";
    case stLink:
      return "symbolic links are not unpacked";
    case stWriteError:
      return "the file could not be written";
    case stOnFreshen:
    case stNoOverwrite:
    case stFileExists:
      return "a file of that name is already there";
    case stNone:
      break;
  }
  return "unknown reason";
}
