#include "kvx/Extractor.h"

#include <fcntl.h>

#include <algorithm>

#include "kvx/KvxMessages.h"
#include "kvx/NameSafety.h"
#include "kvx/OutputFile.h"
#include "kvx/OutputSpace.h"
#include "platform/FileIO.h"
#include "platform/Wildcard.h"
#include "zipformat/ZipRecords.h"

namespace {

std::int64_t EntryTime(const KvxEntry& e) {
  return e.HasUnixTime ? e.UnixTime : DosToUnixTime(e.DosDateTime);
}

}  // namespace

Extractor::Extractor(KvxOptions options)
    : FOptions(std::move(options)),
      FCallbacks(FOptions.Callback, FOptions.Caller),
      FRemainingAsks(FOptions.PasswordReqCount) {
  for (std::string& pattern : FOptions.Specs) std::replace(pattern.begin(), pattern.end(), '\\', '/');
}

std::int32_t Extractor::ExtractAll() {
  if (!FArchive.Open(FOptions.ArchiveName)) {
    FCallbacks.Message(kvxErrArchive, "Cannot open archive: " + FOptions.ArchiveName);
    FCallbacks.BatchEnd();
    return 0;
  }
  std::string error;
  if (!LoadCentralDirectory(FArchive, FDir, error)) {
    if (FCallbacks.Message(kvxErrDirectory, error + ": " + FOptions.ArchiveName)) FCallbacks.BatchEnd();
    return 0;
  }
  FBase = UniqueFd(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::uint64_t files = 0, bytes = 0;
  for (const KvxEntry& e : FDir.Entries)
    if (Selected(e)) {
      ++files;
      if (!e.IsDirectory()) bytes += std::min<std::uint64_t>(e.UncompressedSize, UINT64_MAX - bytes);
    }
  if (bytes > MaxTotalOutput) {
    const std::string text = "Too much output: the selected entries declare " + std::to_string(bytes) +
                             " bytes, more than the " + std::to_string(MaxTotalOutput) +
                             " one extraction may write";
    if (FCallbacks.Message(kvxErrLimit, text)) FCallbacks.BatchEnd();
    return 0;
  }
  if (!FOptions.Test && !DeclaredOutputFits()) return 0;
  if (!FCallbacks.FileCount(files) || !FCallbacks.ByteCount(bytes)) return FCount;
  FBuffer.resize(64 * 1024);
  for (const KvxEntry& e : FDir.Entries) {
    if (!Selected(e)) continue;
    Process(e);
    if (FCallbacks.Stopped()) return FCount;
  }
  FCallbacks.BatchEnd();
  return FCount;
}

bool Extractor::Selected(const KvxEntry& e) const {
  if (FOptions.Specs.empty()) return true;
  return std::any_of(FOptions.Specs.begin(), FOptions.Specs.end(),
                     [&](const std::string& pattern) { return MatchesSpec(e.Name, pattern); });
}

bool Extractor::DeclaredOutputFits() {
  const OutputSpace space = MeasureOutputSpace(FBase.Get());
  if (!space.Known) return true;
  std::uint64_t onDisk = 0;
  for (const KvxEntry& e : FDir.Entries)
    if (Selected(e) && !e.IsDirectory())
      onDisk += std::min(BytesOnDisk(e.UncompressedSize, space.BlockSize), UINT64_MAX - onDisk);
  FSpaceLeft = space.Usable;
  if (onDisk <= space.Usable) return true;
  const std::string text = "Too much output: the selected entries need " + std::to_string(onDisk) +
                           " bytes on the destination, more than the " + std::to_string(space.Usable) +
                           " it has free beyond the " + std::to_string(space.Margin) + " it keeps free";
  if (FCallbacks.Message(kvxErrLimit, text)) FCallbacks.BatchEnd();
  return false;
}

void Extractor::Skip(const std::string& name, std::int32_t reason, std::int32_t code,
                     const std::string& message) {
  if (!message.empty() && !FCallbacks.Message(code, message)) return;
  FCallbacks.Skipped(name, reason, code);
}

void Extractor::Process(const KvxEntry& e) {
  FTargetParts.clear();
  FTargetFolders = FFirstMadeFolder = 0;
  ProcessEntry(e);
  RemoveEmptyFolders(FBase.Get(), FTargetParts, FFirstMadeFolder, FTargetFolders);
}

void Extractor::ProcessEntry(const KvxEntry& e) {
  if (e.HasComment && !FCallbacks.Comment(e.Name, e.CommentFirstByte)) return;
  if (!FCallbacks.FileStart(e.Name, e.UncompressedSize)) return;
  if (e.IsDirectory()) {
    if (FOptions.Test)
      ++FCount;
    else if (FOptions.DirNames)
      MakeFolder(e);
    return;
  }
  if (e.IsSymlink() && !FOptions.Test) {
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + e.Name);
    return;
  }
  if (Unsupported(e)) return;
  if (ExpandsTooMuch(e.CompressedSize, e.UncompressedSize)) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrLimit,
         "Too much output: " + e.Name + " declares " + std::to_string(e.UncompressedSize) + " bytes from " +
             std::to_string(e.CompressedSize) + ", more than " + std::to_string(MaxExpansionRatio) +
             " times");
    return;
  }
  std::string name;
  UniqueFd folder;
  std::string leaf;
  bool replace = false;
  if (!FOptions.Test && !PrepareTarget(e, name, folder, leaf, replace)) return;
  std::int64_t start = 0;
  std::uint64_t size = 0;
  std::unique_ptr<EntryCipher> cipher;
  if (!LocateData(e, start, size, cipher)) return;
  if (FOptions.Test) {
    ExtractEntryData(e, start, size, cipher.get(), nullptr, e.Name, false);
    return;
  }
  OutputFile out;
  std::string error;
  mode_t mode = (e.UnixMode() & 0111) ? 0755 : 0644;
  if (!out.Create(std::move(folder), leaf, mode, error)) {
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
    return;
  }
  ExtractEntryData(e, start, size, cipher.get(), &out, name, replace);
}

void Extractor::MakeFolder(const KvxEntry& e) {
  std::vector<std::string> parts;
  if (!SplitSafeName(e.Name, parts)) {
    Skip(e.Name, kvxSkipBadName, kvxErrName, "Unsafe name refused: " + e.Name);
    return;
  }
  UniqueFd folder;
  std::string error;
  PathStatus status = OpenFolder(FBase.Get(), parts, parts.size(), true, folder, error);
  if (status == PathStatus::Link)
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + e.Name);
  else if (status != PathStatus::Ok)
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + e.Name + ": " + error);
  else
    ++FCount;
}

bool Extractor::PrepareTarget(const KvxEntry& e, std::string& name, UniqueFd& folder, std::string& leaf,
                              bool& replace) {
  name = FOptions.DirNames ? e.Name : BaseName(e.Name);
  if (!FCallbacks.NewName(name)) return false;
  std::vector<std::string> parts;
  if (!SplitTargetName(e, name, parts) || !OpenTargetFolder(e, name, parts, folder)) return false;
  leaf = parts.back();
  std::int64_t mtime = 0;
  const LeafKind kind = InspectLeaf(folder.Get(), leaf, mtime);
  if (kind == LeafKind::Link) {
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + name);
    return false;
  }
  if (kind == LeafKind::Other) {
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": not a file");
    return false;
  }
  replace = kind == LeafKind::File;
  return MayWriteOver(e, name, replace, replace && mtime < EntryTime(e));
}

bool Extractor::SplitTargetName(const KvxEntry& e, const std::string& name, std::vector<std::string>& parts) {
  // The component lists a name ending in a colon as a folder: never a file here.
  const char last = e.Name.empty() ? '\0' : e.Name.back();
  if (!SplitSafeName(name, parts) || parts.empty() || name.back() == '/' || last == ':') {
    Skip(e.Name, kvxSkipBadName, kvxErrName, "Unsafe name refused: " + name);
    return false;
  }
  return true;
}

bool Extractor::OpenTargetFolder(const KvxEntry& e, const std::string& name,
                                 const std::vector<std::string>& parts, UniqueFd& folder) {
  std::string error;
  FTargetParts = parts;
  FTargetFolders = parts.size() - 1;
  const PathStatus status =
      OpenFolder(FBase.Get(), parts, FTargetFolders, !FOptions.Freshen, folder, error, &FFirstMadeFolder);
  if (status == PathStatus::Missing) {
    FCallbacks.Skipped(e.Name, kvxSkipOnFreshen, 0);
    return false;
  }
  if (status == PathStatus::Link) {
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + name);
    return false;
  }
  if (status != PathStatus::Ok) {
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
    return false;
  }
  return true;
}

bool Extractor::MayWriteOver(const KvxEntry& e, const std::string& name, bool replace, bool older) {
  if (FOptions.Freshen && !replace) {
    FCallbacks.Skipped(e.Name, kvxSkipOnFreshen, 0);
    return false;
  }
  if ((FOptions.Freshen || FOptions.Update) && replace && !older) {
    FCallbacks.Skipped(e.Name, kvxSkipFileExists, 0);
    return false;
  }
  if (!replace || FOptions.Overwrite) return true;
  bool overwrite = false;
  if (!FCallbacks.Overwrite(name, older, overwrite)) return false;
  if (!overwrite) {
    FCallbacks.Skipped(e.Name, kvxSkipNoOverwrite, 0);
    return false;
  }
  return true;
}
