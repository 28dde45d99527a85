#pragma once
// Enumerations, option sets, events and records of the archive component.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "zip/ZipSet.h"

class TZipComponent;
using TObject = TZipComponent;

enum AddOptsEnum {
  AddDirNames,
  AddRecurseDirs,
  AddMove,
  AddFreshen,
  AddUpdate,
  AddZipTime,
  AddForceDOS,
  AddHiddenFiles,
  AddArchiveOnly,
  AddResetArchive,
  AddEncrypt,
  AddSeparateDirs,
  AddVolume,
  AddDiskSpan,
  AddDiskSpanErase
};
using AddOpts = TSet<AddOptsEnum, std::uint16_t>;

enum AddStoreSuffixEnum {
  assGIF,
  assPNG,
  assZ,
  assZIP,
  assZOO,
  assARC,
  assLZH,
  assARJ,
  assTAZ,
  assTGZ,
  assLHA,
  assEXE
};
using AddStoreExts = TSet<AddStoreSuffixEnum, std::uint16_t>;

enum ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest };
using ExtrOpts = TSet<ExtrOptsEnum, std::uint8_t>;

enum SFXOptsEnum {
  SFXAskCmdLine,
  SFXAskFiles,
  SFXAutoRun,
  SFXHideOverWriteBox,
  SFXCheckSize,
  SFXNoSuccessMsg
};
using SFXOpts = TSet<SFXOptsEnum, std::uint8_t>;

enum OvrOpts { OvrConfirm, OvrAlways, OvrNever };
enum CodePageOpts { cpAuto, cpNone, cpOEM };
enum DeleteOpts { htdFinal, htdAllowUndo };
enum ProgressType { ptFileStart, ptWritten, ptBatchEnd, ptFileCount, ptByteCount };

// Skip reasons as the unzip library delivers them.
enum UnZipSkipTypes : std::uint8_t {
  stNone,
  stOnFreshen,
  stNoOverwrite,
  stFileExists,
  stBadPassword,
  stNoEncryptionSupport,
  stCompressionUnknown,
  stUnknownZipVersion,
  stBadName,
  stCorrupt,
  stLink,
  stWriteError
};
enum TZipDiskStatus { zdsEmpty, zdsHasFiles, zdsPreviousDisk, zdsSameFileName, zdsNotEnoughSpace };
enum TZipDiskAction { zdaOk, zdaErase, zdaReject, zdaCancel };

// One kept central directory header.
struct ZipDirEntry {
  std::uint8_t VersionMadeBy = 0;
  std::uint8_t HostSystem = 0;
  std::uint16_t VersionNeeded = 0;
  std::uint16_t GeneralFlags = 0;
  std::uint16_t CompressionMethod = 0;
  std::uint32_t FileDateTime = 0;  // DOS time low 16 bits, date high 16 bits
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::uint16_t FileNameLength = 0;
  std::uint16_t ExtraFieldLength = 0;
  std::uint16_t FileCommentLength = 0;
  std::uint16_t DiskNumberStart = 0;
  std::uint16_t InternalAttributes = 0;
  std::uint32_t ExternalAttributes = 0;
  std::uint32_t LocalHeaderOffset = 0;
  // The three fields above at full width, from the zip64 extra field where the header's are full.
  std::uint64_t CompressedSize64 = 0;
  std::uint64_t UncompressedSize64 = 0;
  std::uint64_t LocalHeaderOffset64 = 0;
  std::string FileName;
  std::string FileComment;
  bool Encrypted = false;
  std::unique_ptr<std::uint8_t[]> ExtraData;  // ExtraFieldLength + 1 bytes, or null
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TProgressEvent = std::function<void(TObject* Sender, ProgressType ProgrType,
                                          const std::string& Filename, std::int32_t FileSize)>;
using TMessageEvent = std::function<void(TObject* Sender, std::int32_t ErrCode, const std::string& Message)>;
using TSetNewNameEvent = std::function<void(TObject* Sender, std::string& OldFileName, bool& IsChanged)>;
using TNewNameEvent = std::function<void(TObject* Sender, std::int32_t SeqNo, const ZipDirEntry& ZipEntry)>;
using TCRC32ErrorEvent =
    std::function<void(TObject* Sender, const std::string& ForFile, std::uint32_t FoundCRC,
                       std::uint32_t ExpectedCRC, bool& DoExtract)>;
using TPasswordErrorEvent = std::function<void(TObject* Sender, std::string& NewPassword,
                                               const std::string& ForFile, std::uint32_t& RepeatCount)>;
using TExtractOverwriteEvent =
    std::function<void(TObject* Sender, const std::string& ForFile, bool IsOlder, bool& DoOverwrite)>;
using TExtractSkippedEvent = std::function<void(TObject* Sender, const std::string& ForFile,
                                                UnZipSkipTypes SkipType, std::int32_t ExtError)>;
using TCopyZipOverwriteEvent =
    std::function<void(TObject* Sender, const std::string& ForFile, bool& DoOverwrite)>;
using TGetNextDiskEvent = std::function<void(TObject* Sender, std::int32_t DiskSeqNo, std::int32_t DiskTotal,
                                             const std::string& Drive, bool& AbortAction)>;
using TStatusDiskEvent =
    std::function<void(TObject* Sender, std::int32_t PreviousDisk, const std::string& PreviousFile,
                       TZipDiskStatus Status, TZipDiskAction& Action)>;
using TFileCommentEvent = std::function<void(TObject* Sender, const std::string& ForFile,
                                             std::string& FileComment, bool& IsChanged)>;

// The icon property: stored, copied, never read.
struct TIcon {
  std::string Data;
};

// The component's events; an empty one is skipped.
struct TZipEvents {
  TNotifyEvent OnDirUpdate;
  TProgressEvent OnProgress;
  TMessageEvent OnMessage;
  TSetNewNameEvent OnSetNewName;
  TNewNameEvent OnNewName;
  TCRC32ErrorEvent OnCRC32Error;
  TPasswordErrorEvent OnPasswordError;
  TExtractOverwriteEvent OnExtractOverwrite;
  TExtractSkippedEvent OnExtractSkipped;
  TCopyZipOverwriteEvent OnCopyZipOverwrite;
  TGetNextDiskEvent OnGetNextDisk;
  TStatusDiskEvent OnStatusDisk;
  TFileCommentEvent OnFileComment;
};
