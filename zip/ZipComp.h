#pragma once
// TZipComponent: reads zip archives, joins spanned sets, and unpacks through the unzip library.
// Declared here once; implemented in ZipComp.cpp and the ZipComp*.cpp files, one concern each.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/StringList.h"
#include "platform/FileIO.h"
#include "zip/ComponentServices.h"
#include "zip/FailureReport.h"
#include "zip/ZipException.h"
#include "zip/ZipPaths.h"
#include "zip/ZipStream.h"
#include "zip/ZipTypes.h"
#include "zip/join/JoinedArchive.h"
#include "zip/library/UnzipLibrary.h"
#include "zip/records/ListResults.h"
#include "zip/volumes/ZipVolume.h"

extern const char* const ZipVersionText;  // "1.60 L"

class TZipComponent : public TComponent, public TComponentServices {
 public:
  explicit TZipComponent(TComponent* owner);
  ~TZipComponent() override;

  // Published properties, in declaration order (Name and Tag are TComponent's).
  bool Verbose() const override { return FVerbose; }
  void SetVerbose(bool value) { FVerbose = value; }
  bool Trace() const override { return FTrace; }
  void SetTrace(bool value) { FTrace = value; }
  std::int32_t AddCompLevel() const { return FAddCompLevel; }
  void SetAddCompLevel(std::int32_t value) { FAddCompLevel = value; }
  AddOpts AddOptions() const override { return FAddOptions; }
  void SetAddOptions(AddOpts value) { FAddOptions = value; }
  const std::string& ExtrBaseDir() const { return FExtrBaseDir; }
  void SetExtrBaseDir(const std::string& value) { FExtrBaseDir = value; }
  ExtrOpts ExtrOptions() const override { return FExtrOptions; }
  void SetExtrOptions(ExtrOpts value) { FExtrOptions = value; }
  SFXOpts SFXOptions() const { return FSFXOptions; }
  void SetSFXOptions(SFXOpts value) { FSFXOptions = value; }
  TStringList& FSpecArgs() override { return FFSpecArgs; }
  void SetFSpecArgs(const TStringList& value);
  bool Unattended() const override { return FUnattended; }
  void SetUnattended(bool value) { FUnattended = value; }
  const std::string& ZipFileName() const { return FZipFileName; }
  void SetZipFileName(const std::string& value);  // runs List
  // False after a List that could not read the archive's directory (it clears ZipFileName) and
  // while no archive is named.
  bool HasDirectory() const { return !FZipFileName.empty(); }
  const std::string& Password() const override { return FPassword; }
  void SetPassword(const std::string& value);  // at most 255 characters kept
  const std::string& SFXPath() const { return FSFXPath; }
  void SetSFXPath(const std::string& value) { FSFXPath = value; }
  const std::string& DLLDirectory() const override { return FDLLDirectory; }
  void SetDLLDirectory(const std::string& value);
  OvrOpts SFXOverWriteMode() const { return FSFXOverWriteMode; }
  void SetSFXOverWriteMode(OvrOpts value) { FSFXOverWriteMode = value; }
  const std::string& SFXCaption() const { return FSFXCaption; }
  void SetSFXCaption(const std::string& value) { FSFXCaption = value; }
  const std::string& SFXDefaultDir() const { return FSFXDefaultDir; }
  void SetSFXDefaultDir(const std::string& value) { FSFXDefaultDir = value; }
  const std::string& SFXCommandLine() const { return FSFXCommandLine; }
  void SetSFXCommandLine(const std::string& value) { FSFXCommandLine = value; }
  const std::string& SFXMessage() const { return FSFXMessage; }
  void SetSFXMessage(const std::string& value) { FSFXMessage = value; }
  const std::string& TempDir() const { return FTempDir; }
  void SetTempDir(const std::string& value) { FTempDir = value; }
  std::int32_t KeepFreeOnDisk1() const { return FKeepFreeOnDisk1; }
  void SetKeepFreeOnDisk1(std::int32_t value) { FKeepFreeOnDisk1 = value; }
  std::int32_t MaxVolumeSize() const { return FMaxVolumeSize; }
  void SetMaxVolumeSize(std::int32_t value) { FMaxVolumeSize = value; }
  std::int32_t MinFreeVolumeSize() const { return FMinFreeVolumeSize; }
  void SetMinFreeVolumeSize(std::int32_t value) { FMinFreeVolumeSize = value; }
  bool ConfirmErase() const { return FConfirmErase; }
  void SetConfirmErase(bool value) { FConfirmErase = value; }
  CodePageOpts CodePage() const override { return FCodePage; }
  void SetCodePage(CodePageOpts value) { FCodePage = value; }
  DeleteOpts HowToDelete() const override { return FHowToDelete; }
  void SetHowToDelete(DeleteOpts value) { FHowToDelete = value; }
  std::string VersionInfo() const { return ZipVersionText; }
  void SetVersionInfo(const std::string&) {}
  const TIcon& SFXIcon() const { return FSFXIcon; }
  void SetSFXIcon(const TIcon& value) { FSFXIcon = value; }
  AddStoreExts AddStoreSuffixes() const { return FAddStoreSuffixes; }
  void SetAddStoreSuffixes(AddStoreExts value) { FAddStoreSuffixes = value; }
  std::uint32_t PasswordReqCount() const override { return FPasswordReqCount; }
  void SetPasswordReqCount(std::uint32_t value);
  TStringList& FSpecArgsExcl() { return FFSpecArgsExcl; }
  void SetFSpecArgsExcl(const TStringList& value);
  bool UseDirOnlyEntries() const override { return FUseDirOnlyEntries; }
  void SetUseDirOnlyEntries(bool value) { FUseDirOnlyEntries = value; }
  const std::string& RootDir() const { return FRootDir; }
  void SetRootDir(const std::string& value);

  // Events (OnDirUpdate, OnProgress, OnMessage, ...): the public members of TZipEvents.

  // Public operations; none raises an error of its own (an event handler's exception may pass).
  void List();
  void Extract();
  std::int32_t ReadSpan(const std::string& ArchiveName, std::string& OutName);
  // Writes what a cut archive still holds (see zip/salvage/LocalWalk.h; data of the methods the
  // walk cannot check must also pass the unzip library's test) into a new temporary
  // archive in TempDir, or in the private temporary folder when TempDir is empty, with a central
  // directory of its own, and returns that file's name in OutName; the caller deletes the file.
  // Reports how many entries were salvaged and where the file stops holding whole entries
  // (11050), or that none could be (11051). Returns 0, or -7 with OutName empty.
  std::int32_t Salvage(const std::string& ArchiveName, std::string& OutName);
  std::int32_t EntryCount() const;

  // Messages and path helpers.
  std::string LoadMessageText(std::int32_t id, const std::string& fallback) const override;
  void ReportMessage(std::int32_t id, const std::string& extra) override;
  // Reports a text already made from the table's text for id.
  void ReportText(std::int32_t id, const std::string& text);
  void ReportZipError(const EZipComponent& error);
  // Reports the exception that ended an operation: the component's error under its own id,
  // anything else under the ids given.
  FailureKind ReportFailure(const std::exception_ptr& failure, const FailureIds& ids);
  static std::string WithTrailingBackslash(const std::string& path) { return ::WithTrailingBackslash(path); }
  static std::string ToBackslashes(const std::string& name) { return ::ToBackslashes(name); }
  // Where a file stands in a spanned set, by its name and the files beside it: the part its name
  // gives, and whether it is the set's last part, the one List and Extract start at.
  static SetPart SetPartOf(const std::string& fileName) { return ::SetPartOf(fileName); }

  // The drive and the open volume file: the archive's while List runs, the set's while
  // ReadSpan runs; no file is open between operations.
  const TZipVolume& Volume() const { return FVolume; }

  // Directory: what the last List found.
  const TListResults& ListResults() const { return FList; }

  // The span table and output of the join; empty and closed between runs.
  const TJoinedArchive& JoinedArchive() const { return FJoinedArchive; }

  // Members shared by the component's parts, for its users to read.
  void* OwnerWindow() const override { return FOwnerWindow; }
  std::int32_t LastErrorCode() const { return FLastErrorCode; }
  std::int32_t LastFullErrorCode() const { return FLastFullErrorCode; }
  const std::string& LastMessage() const { return FLastMessage; }
  bool InOperation() const { return FInOperation; }
  std::int32_t ExtractedCount() const { return FExtractedCount; }
  TZipStream* StreamBuffer() const { return FStreamBuffer.get(); }
  // Asks the running library operation to stop at its next callback.
  bool CancelRequested() const override { return FCancelRequested; }
  void SetCancelRequested(bool value) { FCancelRequested = value; }

 private:
  bool FVerbose = false;
  bool FTrace = false;
  std::int32_t FAddCompLevel = 9;
  AddOpts FAddOptions;
  std::string FExtrBaseDir;
  ExtrOpts FExtrOptions;
  SFXOpts FSFXOptions{SFXCheckSize};
  TStringList FFSpecArgs;
  bool FUnattended = false;
  std::string FZipFileName;
  std::string FPassword;
  std::string FSFXPath = "KvxSFX.bin";
  std::string FDLLDirectory;
  OvrOpts FSFXOverWriteMode = OvrConfirm;
  std::string FSFXCaption = "Self-extracting Archive";
  std::string FSFXDefaultDir;
  std::string FSFXCommandLine;
  std::string FSFXMessage;
  std::string FTempDir;
  std::int32_t FKeepFreeOnDisk1 = 0;
  std::int32_t FMaxVolumeSize = 0;
  std::int32_t FMinFreeVolumeSize = 65536;
  bool FConfirmErase = true;
  CodePageOpts FCodePage = cpAuto;
  DeleteOpts FHowToDelete = htdAllowUndo;
  TIcon FSFXIcon;
  AddStoreExts FAddStoreSuffixes = AddStoreExts::FromBits(0x07FF);
  std::uint32_t FPasswordReqCount = 1;
  TStringList FFSpecArgsExcl;
  bool FUseDirOnlyEntries = false;
  std::string FRootDir;

  TListResults FList;
  TZipVolume FVolume{*this};
  TJoinedArchive FJoinedArchive{*this};
  TUnzipLibrary FLibrary{*this};

  void* FOwnerWindow = nullptr;
  std::int32_t FLastErrorCode = 0;
  std::int32_t FLastFullErrorCode = 0;
  std::string FLastMessage;
  bool FCancelRequested = false;
  bool FInOperation = false;
  std::int32_t FExtractedCount = 0;
  std::unique_ptr<TZipStream> FStreamBuffer;

  // The tests that look into the component's workings.
  friend class TZipComponentTestPeer;

  // What the parts have of the component beyond its face.
  TObject* Sender() override { return this; }
  TUnzipLibrary& Library() override { return FLibrary; }
  void SetLibraryErrorCodes(std::int32_t code, std::int32_t fullCode) override;
  void SetLastMessage(const std::string& text) override { FLastMessage = text; }

  // Empties the directory List found.
  void ClearDirEntries();

  // Extraction, split out of Extract.
  std::int32_t RunUnzipCommand(const std::string& archive, std::int32_t version);

  // Salvage: the index of the first of the archive's entries whose data fails the unzip library's
  // test (an entry it cannot check, for want of a password or a decoder, passes), or entries when
  // none does or the library cannot be had.
  std::size_t FirstEntryFailingTest(const std::string& archive, std::size_t entries);

  // Password prompt.
  bool RunPasswordDialog(const std::string& caption, const std::string& prompt, std::string& text);
  void AskExtractPassword(std::string& password) override;
  void AskAddPassword(std::string& password) override;

  // Temporary archives, for the join and salvage.
  std::int32_t RemoveExistingFile(const std::string& fileName, DeleteOpts mode) override;
  std::string NewTempArchiveName(const std::string& prefix, const std::string& extension) override;
};

// Applies the values stored with the main window's ZipComponent1 after construction.
void ApplyStoredZipComponent1(TZipComponent& zip);
