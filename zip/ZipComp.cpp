// TZipComponent: construction, destruction, the setters with side effects, and the values
// stored with the main window's ZipComponent1.
#include "zip/ZipComp.h"

#include "classlib/Application.h"

const char* const ZipVersionText = "1.60 L";

namespace {

constexpr std::size_t PasswordMaxLength = 255;
constexpr std::uint32_t PasswordReqCountCap = 15;

}  // namespace

TZipComponent::TZipComponent(TComponent* owner) : TComponent(owner) {
  FOwnerWindow = Application.Handle();
  FStreamBuffer = std::make_unique<TZipStream>();
}

TZipComponent::~TZipComponent() {
  FVolume.CloseVolume();
  FStreamBuffer.reset();
  ClearDirEntries();
}

TComponentServices& ServicesOf(TObject* sender) {
  return *sender;
}

void TZipComponent::SetLibraryErrorCodes(std::int32_t code, std::int32_t fullCode) {
  FLastErrorCode = code;
  FLastFullErrorCode = fullCode;
}

std::int32_t TZipComponent::EntryCount() const {
  return FZipFileName.empty() ? 0 : static_cast<std::int32_t>(FList.DirEntries.size());
}

void TZipComponent::SetFSpecArgs(const TStringList& value) {
  FFSpecArgs.Assign(value);
}

void TZipComponent::SetFSpecArgsExcl(const TStringList& value) {
  FFSpecArgsExcl.Assign(value);
}

void TZipComponent::SetZipFileName(const std::string& value) {
  FZipFileName = value;
  if (!Designing) List();
}

void TZipComponent::SetPassword(const std::string& value) {
  // Kept to 255 bytes, cut back to the start of a character so no UTF-8 sequence is split.
  std::size_t length = value.size();
  if (length > PasswordMaxLength) {
    length = PasswordMaxLength;
    while (length > 0 && (static_cast<unsigned char>(value[length]) & 0xC0) == 0x80) --length;
  }
  FPassword = value.substr(0, length);
}

void TZipComponent::SetDLLDirectory(const std::string& value) {
  if (value == FDLLDirectory) return;
  std::string dir = value;
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  FDLLDirectory = dir;
}

void TZipComponent::SetPasswordReqCount(std::uint32_t value) {
  if (value == FPasswordReqCount) return;
  FPasswordReqCount = value > PasswordReqCountCap ? PasswordReqCountCap : value;
}

void TZipComponent::SetRootDir(const std::string& value) {
  if (value == FRootDir) return;
  FRootDir = WithTrailingBackslash(value);
}

void ApplyStoredZipComponent1(TZipComponent& zip) {
  zip.Name = "ZipComponent1";
  zip.SetVerbose(false);
  zip.SetTrace(false);
  zip.SetAddCompLevel(9);
  zip.SetAddOptions(AddOpts{});
  zip.SetExtrOptions(ExtrOpts{ExtrDirNames, ExtrOverWrite});
  zip.SetUnattended(false);
  zip.SetSFXPath("KvxSFX.bin");
  zip.SetSFXOverWriteMode(OvrConfirm);
  zip.SetSFXCaption("Self-extracting Archive");
  zip.SetKeepFreeOnDisk1(0);
  zip.SetVersionInfo(ZipVersionText);
  zip.SetAddStoreSuffixes(
      AddStoreExts{assGIF, assPNG, assZ, assZIP, assZOO, assARC, assLZH, assARJ, assTAZ, assTGZ, assLHA});
  zip.SetRootDir("C:\\");
}
