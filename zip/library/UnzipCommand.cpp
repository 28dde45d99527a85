// Builds the command record for the unzip library from the component's settings.
#include "zip/library/UnzipCommand.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/library/UnzipLibrary.h"

namespace {
constexpr std::int32_t Flag(bool value) {
  return value ? -1 : 0;
}

// Fills offsets 0 to 71, which both layouts share.
template <typename Record>
void FillHead(Record& r, TComponentServices& zip) {
  const ExtrOpts opts = zip.ExtrOptions();
  r.Handle = zip.Unattended() ? nullptr : zip.OwnerWindow();
  r.Caller = zip.Sender();
  r.Version = kvxLibraryVersion;
  r.Callback = &TUnzipLibrary::Callback;
  r.TraceFlag = Flag(zip.Trace());
  r.TestFlag = Flag(opts.Contains(ExtrTest));
  r.Reserved40 = -1;
  r.VerboseFlag = Flag(zip.Verbose() || zip.Trace());
  r.UpdateFlag = Flag(opts.Contains(ExtrUpdate));
  r.FreshenFlag = Flag(opts.Contains(ExtrFreshen) && !opts.Contains(ExtrUpdate));
  r.DirNamesFlag = Flag(opts.Contains(ExtrDirNames));
  r.OverwriteFlag = Flag(opts.Contains(ExtrOverWrite));
  r.SpecCount = zip.FSpecArgs().Count();
}

std::string PasswordText(TComponentServices& zip, std::int32_t version) {
  if (version < UnzipPasswordCountVersion && zip.Unattended() && zip.AddOptions().Contains(AddEncrypt) &&
      zip.Password().empty())
    return std::string(DummyPasswordLength, DummyPasswordChar);
  return zip.Password();
}
}  // namespace

void TUnzipCommand::FreeDeleter::operator()(void* block) const {
  std::free(block);
}

TUnzipCommand::Block TUnzipCommand::Allocate(std::size_t size) {
  Block block(std::calloc(1, size));
  if (!block) throw std::bad_alloc();
  return block;
}

const char* TUnzipCommand::Copy(const std::string& text) {
  FTexts.reserve(FTexts.size() + 1);
  FTexts.push_back(Allocate(text.size() + 1));
  char* copy = static_cast<char*>(FTexts.back().get());
  std::memcpy(copy, text.data(), text.size());
  return copy;
}

TUnzipCommand::TUnzipCommand(TComponentServices& zip, const std::string& archive, std::int32_t version) {
  const TStringList& specs = zip.FSpecArgs();
  const std::size_t count = static_cast<std::size_t>(specs.Count());
  if (version >= UnzipNewLayoutVersion) {
    FRecord = Allocate(sizeof(UnzipCommandRecord));
    auto* r = static_cast<UnzipCommandRecord*>(FRecord.get());
    FillHead(*r, zip);
    r->Password = Copy(PasswordText(zip, version));
    r->ArchiveName = Copy(archive);
    if (count > 0) {
      FSpecs = Allocate(count * sizeof(UnzipFileSpec));
      auto* entries = static_cast<UnzipFileSpec*>(FSpecs.get());
      for (std::size_t i = 0; i < count; ++i) entries[i].FileSpec = Copy(specs[static_cast<int>(i)]);
      r->Specs = entries;
    }
    if (version >= UnzipPasswordCountVersion)
      r->PasswordReqCount = static_cast<std::int32_t>(zip.PasswordReqCount());
    r->LayoutMarker = kvxLayoutMarker;
  } else {
    // The old layout has a fixed number of slots; rather than drop specs silently, refuse.
    if (count > kvxOldLayoutSpecSlots) throw EZipComponent(MessageId::FatalUnzipLibraryError, true);
    FRecord = Allocate(sizeof(UnzipCommandRecordOld));
    auto* r = static_cast<UnzipCommandRecordOld*>(FRecord.get());
    FillHead(*r, zip);
    r->Password = Copy(PasswordText(zip, version));
    r->ArchiveName = Copy(archive);
    for (std::size_t i = 0; i < count; ++i) r->SpecSlots[i] = Copy(specs[static_cast<int>(i)]);
    r->LayoutMarker = kvxLayoutMarker;
  }
}
