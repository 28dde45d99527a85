#include "kvx/Extractor.h"

#include <fcntl.h>

#include <algorithm>

#include "kvx/ExtractLimits.h"
#include "kvx/KvxMessages.h"
#include "kvx/NameSafety.h"
#include "kvx/OutputFile.h"
#include "platform/FileIO.h"
#include "platform/Wildcard.h"

namespace {

std::int64_t EntryTime(const KvxEntry& e) {
  return e.HasUnixTime ? e.UnixTime : DosToUnixTime(e.DosDateTime);
}

}  // namespace

Extractor::Extractor(KvxOptions options)
    : options_(std::move(options)),
      callbacks_(options_.Callback, options_.Caller),
      remainingAsks_(options_.PasswordReqCount) {
  for (std::string& pattern : options_.Specs) std::replace(pattern.begin(), pattern.end(), '\\', '/');
}

std::int32_t Extractor::Run() {
  if (!archive_.Open(options_.ArchiveName)) {
    callbacks_.Message(kvxErrArchive, "Cannot open archive: " + options_.ArchiveName);
    callbacks_.BatchEnd();
    return 0;
  }
  std::string error;
  if (!LoadCentralDirectory(archive_, dir_, error)) {
    if (callbacks_.Message(kvxErrDirectory, error + ": " + options_.ArchiveName)) callbacks_.BatchEnd();
    return 0;
  }
  base_ = UniqueFd(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::uint64_t files = 0, bytes = 0;
  for (const KvxEntry& e : dir_.Entries)
    if (Selected(e)) {
      ++files;
      if (!e.IsDirectory()) bytes += std::min<std::uint64_t>(e.UncompressedSize, UINT64_MAX - bytes);
    }
  if (bytes > MaxTotalOutput) {
    const std::string text = "Too much output: the selected entries declare " + std::to_string(bytes) +
                             " bytes, more than the " + std::to_string(MaxTotalOutput) +
                             " one extraction may write";
    if (callbacks_.Message(kvxErrLimit, text)) callbacks_.BatchEnd();
    return 0;
  }
  if (!callbacks_.FileCount(files) || !callbacks_.ByteCount(bytes)) return count_;
  buffer_.resize(64 * 1024);
  for (const KvxEntry& e : dir_.Entries) {
    if (!Selected(e)) continue;
    Process(e);
    if (callbacks_.Stopped()) return count_;
  }
  callbacks_.BatchEnd();
  return count_;
}

bool Extractor::Selected(const KvxEntry& e) const {
  if (options_.Specs.empty()) return true;
  return std::any_of(options_.Specs.begin(), options_.Specs.end(),
                     [&](const std::string& pattern) { return MatchesSpec(e.Name, pattern); });
}

void Extractor::Skip(const std::string& name, std::int32_t reason, std::int32_t code,
                     const std::string& message) {
  if (!message.empty() && !callbacks_.Message(code, message)) return;
  callbacks_.Skipped(name, reason, code);
}

void Extractor::Process(const KvxEntry& e) {
  if (e.HasComment && !callbacks_.Comment(e.Name, e.CommentFirstByte)) return;
  if (!callbacks_.FileStart(e.Name, e.UncompressedSize)) return;
  if (e.IsDirectory()) {
    if (options_.Test)
      ++count_;
    else if (options_.DirNames)
      MakeFolder(e);
    return;
  }
  if (e.IsSymlink() && !options_.Test) {
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
  if (!options_.Test && !PrepareTarget(e, name, folder, leaf, replace)) return;
  std::int64_t start = 0;
  std::uint64_t size = 0;
  std::unique_ptr<EntryCipher> cipher;
  if (!LocateData(e, start, size, cipher)) return;
  if (options_.Test) {
    Decode(e, start, size, cipher.get(), nullptr, e.Name, false);
    return;
  }
  OutputFile out;
  std::string error;
  mode_t mode = (e.UnixMode() & 0111) ? 0755 : 0644;
  if (!out.Create(std::move(folder), leaf, mode, error)) {
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
    return;
  }
  Decode(e, start, size, cipher.get(), &out, name, replace);
}

void Extractor::MakeFolder(const KvxEntry& e) {
  std::vector<std::string> parts;
  if (!SplitSafeName(e.Name, parts)) {
    Skip(e.Name, kvxSkipBadName, kvxErrName, "Unsafe name refused: " + e.Name);
    return;
  }
  UniqueFd folder;
  std::string error;
  PathStatus status = OpenFolder(base_.Get(), parts, parts.size(), true, folder, error);
  if (status == PathStatus::Link)
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + e.Name);
  else if (status != PathStatus::Ok)
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + e.Name + ": " + error);
  else
    ++count_;
}

bool Extractor::PrepareTarget(const KvxEntry& e, std::string& name, UniqueFd& folder, std::string& leaf,
                              bool& replace) {
  name = options_.DirNames ? e.Name : BaseName(e.Name);
  if (!callbacks_.NewName(name)) return false;
  std::vector<std::string> parts;
  // The component lists a name ending in a backslash or a colon as a folder: never a file here.
  const char last = e.Name.empty() ? '\0' : e.Name.back();
  if (!SplitSafeName(name, parts) || parts.empty() || name.back() == '/' || last == '\\' || last == ':') {
    Skip(e.Name, kvxSkipBadName, kvxErrName, "Unsafe name refused: " + name);
    return false;
  }
  std::string error;
  PathStatus status = OpenFolder(base_.Get(), parts, parts.size() - 1, !options_.Freshen, folder, error);
  if (status == PathStatus::Missing) {
    callbacks_.Skipped(e.Name, kvxSkipOnFreshen, 0);
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
  leaf = parts.back();
  std::int64_t mtime = 0;
  LeafKind kind = InspectLeaf(folder.Get(), leaf, mtime);
  if (kind == LeafKind::Link) {
    Skip(e.Name, kvxSkipLink, kvxErrLink, "Symbolic link refused: " + name);
    return false;
  }
  if (kind == LeafKind::Other) {
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": not a file");
    return false;
  }
  replace = kind == LeafKind::File;
  bool older = replace && mtime < EntryTime(e);
  if (options_.Freshen && !replace) {
    callbacks_.Skipped(e.Name, kvxSkipOnFreshen, 0);
    return false;
  }
  if ((options_.Freshen || options_.Update) && replace && !older) {
    callbacks_.Skipped(e.Name, kvxSkipFileExists, 0);
    return false;
  }
  if (replace && !options_.Overwrite) {
    bool overwrite = false;
    if (!callbacks_.Overwrite(name, older, overwrite)) return false;
    if (!overwrite) {
      callbacks_.Skipped(e.Name, kvxSkipNoOverwrite, 0);
      return false;
    }
  }
  return true;
}
