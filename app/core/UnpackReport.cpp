#include "app/core/UnpackReport.h"

#include <algorithm>

#include "zip/ZipMsg.h"

namespace {
// Every report of the component is under an id of its message table; the library's codes are below
// them.
constexpr std::int32_t FirstComponentMessageId = 10000;

// Reports after which the operation goes on.
bool IsWarning(std::int32_t id) {
  return id == MessageId::StructureWarning || id == MessageId::GarbageAtEnd ||
         id == MessageId::UnattendedPasswordWarning;
}

std::string Files(int count) {
  return std::to_string(count) + (count == 1 ? " file" : " files");
}
}  // namespace

TShownBoxes::TShownBoxes() : FOuter(Backend()) {
  SetBackend(this);
}

TShownBoxes::~TShownBoxes() {
  SetBackend(&FOuter);
}

bool TShownBoxes::Showed(const std::string& text) const {
  return std::find(FTexts.begin(), FTexts.end(), text) != FTexts.end();
}

int TShownBoxes::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  FTexts.push_back(text);
  return FOuter.MessageBox(text, caption, style);
}

void TShownBoxes::ShowMessage(const std::string& text) {
  FTexts.push_back(text);
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

// The library's messages carry its error code and are shown nowhere. Those with code 0 are the
// component's: a report (it set its last error to the id) of a failure or a warning, or a notice of
// a file copied while a spanned set is joined, which is no failure.
void TUnpackReport::Message(std::int32_t code, const std::string& text) {
  if (code != 0) {
    if (FLibraryError.empty()) FLibraryError = text;
    return;
  }
  if (FZip.LastMessage() != text || FZip.LastErrorCode() < FirstComponentMessageId ||
      IsWarning(FZip.LastErrorCode()))
    return;
  if (FZip.LastErrorCode() == MessageId::UserCanceled) FStoppedByUser = true;
  if (FComponentError.empty()) FComponentError = text;
}

bool TUnpackReport::ToldByComponent() const {
  return !FComponentError.empty() && FBoxes.Showed(FComponentError);
}

std::string TUnpackReport::Text() const {
  if (FSkipped > 0) return Files(FSkipped) + " of this issue could not be unpacked: " + FFirstReason + ".";
  // A library that failed as a whole counts -1 files extracted.
  const int missing = FZip.EntryCount() - std::max(FZip.ExtractedCount(), 0);
  if (!FLibraryError.empty() && missing > 0)
    return Files(missing) + " of this issue could not be unpacked: " + FLibraryError + ".";
  if (!FComponentError.empty() && !FStoppedByUser && !ToldByComponent())
    return "This issue could not be unpacked: " + FComponentError;
  return "";
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
