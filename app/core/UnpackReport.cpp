#include "app/core/UnpackReport.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Folders.h"

namespace {
std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool AtTop(const std::string& name) {
  return name.find_first_of("/\\") == std::string::npos;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

TShownBoxCount::TShownBoxCount() : FOuter(Backend()) {
  SetBackend(this);
}

TShownBoxCount::~TShownBoxCount() {
  SetBackend(&FOuter);
}

int TShownBoxCount::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  ++FCount;
  return FOuter.MessageBox(text, caption, style);
}

void TShownBoxCount::ShowMessage(const std::string& text) {
  ++FCount;
  FOuter.ShowMessage(text);
}

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

// The library's messages carry their error code and are shown nowhere; those with code 0 are the
// component's, shown in a box of its own or not at all (its notices of files copied).
void TUnpackReport::Message(std::int32_t code, const std::string& text) {
  if (code != 0 && FLibraryError.empty()) FLibraryError = text;
}

bool TUnpackReport::Listed() const {
  return !FZip.ZipFileName().empty() && FileExists(FZip.ZipFileName());
}

bool TUnpackReport::HasIndex() const {
  const auto& entries = FZip.ListResults().DirEntries;
  return std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
    return CompareTextIgnoreCase(entry->FileName, "index.htm") == 0;
  });
}

std::vector<std::string> TUnpackReport::TopPages() const {
  std::vector<std::string> pages;
  for (const auto& entry : FZip.ListResults().DirEntries) {
    const std::string lower = LowerAscii(entry->FileName);
    if (AtTop(lower) && (EndsWith(lower, ".htm") || EndsWith(lower, ".html")))
      pages.push_back(entry->FileName);
  }
  return pages;
}

std::string TUnpackReport::Text() const {
  if (!Listed()) return "";  // the directory could not be read: the component said why
  std::string text;
  // A library that failed as a whole counts -1 files extracted.
  const int extracted = std::max(FZip.ExtractedCount(), 0);
  if (FSkipped > 0) {
    text = std::to_string(FSkipped) + (FSkipped == 1 ? " file" : " files") +
           " of this issue could not be unpacked: " + FFirstReason + ".";
  } else if (FBoxes.Count() == 0 && !FLibraryError.empty() && extracted < FZip.EntryCount()) {
    const int missing = FZip.EntryCount() - extracted;
    text = std::to_string(missing) + (missing == 1 ? " file" : " files") +
           " of this issue could not be unpacked: " + FLibraryError + ".";
  }
  if (!HasIndex()) {
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
