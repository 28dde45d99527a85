// Names of the volumes of a spanned set: disk labels and the files of either naming.
#include "zip/volumes/VolumeNames.h"

#include <sys/stat.h>

#include <cctype>

#include "platform/FileIO.h"
#include "platform/Folders.h"

namespace {

const std::string LabelTag = "PKBACK# ";

// The number that text spells in decimal digits alone, or 0 when it spells none or more than
// a volume number can hold.
std::int32_t DigitsValue(const std::string& text) {
  if (text.empty() || text.size() > 5) return 0;
  std::int32_t number = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

// NN of an extension ".zNN" (two digits or more, either case), 0 for any other extension.
std::int32_t SplitPartNumber(const std::string& ext) {
  if (ext.size() < 4 || (ext[1] != 'z' && ext[1] != 'Z')) return 0;
  return DigitsValue(ext.substr(2));
}

std::size_t NameStart(const std::string& fileName) {
  const std::size_t slash = fileName.rfind(PathDelim);
  return slash == std::string::npos ? 0 : slash + 1;
}

bool IsRegularFile(const std::string& name) {
  struct stat info = {};
  return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// An extension written in capitals ("ZIP") names its parts in capitals too.
bool InCapitals(const std::string& ext) {
  bool letter = false;
  for (const char c : ext) {
    if (std::islower(static_cast<unsigned char>(c))) return false;
    letter = letter || std::isupper(static_cast<unsigned char>(c));
  }
  return letter;
}

// The same name with other digits in the three places before the extension: a numbered part.
bool NumberedSibling(const std::string& a, const std::string& b) {
  const std::string ext = ExtractFileExt(b);
  if (a.size() != b.size() || ext.size() + 3 > b.size() - NameStart(b) || ExtractFileExt(a) != ext)
    return false;
  const std::size_t digits = b.size() - ext.size() - 3;
  for (std::size_t i = digits; i < digits + 3; ++i)
    if (!std::isdigit(static_cast<unsigned char>(a[i])) || !std::isdigit(static_cast<unsigned char>(b[i])))
      return false;
  return a.compare(0, digits, b, 0, digits) == 0;
}

// NAME.zNN beside NAME.zip (or the other way round): a split part.
bool SplitSibling(const std::string& a, const std::string& b) {
  const std::string extA = ExtractFileExt(a), extB = ExtractFileExt(b);
  if (a.compare(0, a.size() - extA.size(), b, 0, b.size() - extB.size()) != 0) return false;
  return SplitPartNumber(extA) != 0 || SplitPartNumber(extB) != 0;
}

// True when name is, by its name alone, the archive or a part of its set under either naming.
bool NamedAsFileOfSet(const std::string& name, const std::string& archive) {
  const std::string a = ExpandFileName(name), b = ExpandFileName(archive);
  return a == b || NumberedSibling(a, b) || SplitSibling(a, b);
}

}  // namespace

bool IsFileOfSet(const std::string& name, const std::string& archive) {
  if (NamedAsFileOfSet(name, archive)) return true;
  FileIdentity output;
  if (!FileIdentityOf(name, output)) return false;
  const std::string folder = ExtractFileDir(ExpandFileName(archive));
  for (const std::string& entry : FolderEntryNames(folder)) {
    const std::string path = folder + PathDelim + entry;
    FileIdentity part;
    if (NamedAsFileOfSet(path, archive) && FileIdentityOf(path, part) && part == output) return true;
  }
  FileIdentity given;
  return FileIdentityOf(archive, given) && given == output;
}

std::string VolumeDigits(std::int32_t n) {
  const std::string text = std::to_string(static_cast<std::int64_t>(n) + 1 + 1000);
  return text.substr(text.size() - 3);
}

std::string VolumeLabelFor(std::int32_t n) {
  return LabelTag + VolumeDigits(n);
}

std::int32_t DiskOfLabel(const std::string& label) {
  if (label.compare(0, LabelTag.size(), LabelTag) != 0) return 0;
  return DigitsValue(label.substr(LabelTag.size(), 3));
}

VolumeNaming NamingOf(const std::string& fileName, std::int32_t last) {
  if (SplitPartNumber(ExtractFileExt(fileName)) != 0) return VolumeNaming::Split;
  // Any part will do: the one that is missing is then named as it is called. The folder is read
  // once, since a damaged end record may claim tens of thousands of volumes.
  const std::string folder = fileName.substr(0, NameStart(fileName));
  for (const std::string& entry : FolderEntryNames(folder)) {
    const std::int32_t part = SplitPartNumber(ExtractFileExt(entry));
    if (part < 1 || part > last) continue;
    const std::string candidate = VolumeFileFor(VolumeNaming::Split, fileName, part - 1, last);
    if (candidate == folder + entry && FileExists(candidate)) return VolumeNaming::Split;
  }
  return VolumeNaming::Numbered;
}

std::int32_t PartNumberOf(const std::string& fileName) {
  const std::string ext = ExtractFileExt(fileName);
  if (const std::int32_t part = SplitPartNumber(ext)) return part;
  const std::size_t start = NameStart(fileName);
  const std::size_t stemEnd = fileName.size() - ext.size();
  if (stemEnd < start + 3) return 0;
  return DigitsValue(fileName.substr(stemEnd - 3, 3));
}

std::string VolumeFileFor(VolumeNaming naming, const std::string& fileName, std::int32_t n,
                          std::int32_t last) {
  const std::string ext = ExtractFileExt(fileName);
  const std::string stem = fileName.substr(0, fileName.size() - ext.size());
  if (naming == VolumeNaming::Numbered) {
    if (fileName.size() - NameStart(fileName) < 3 + ext.size()) return std::string();
    return stem.substr(0, stem.size() - 3) + VolumeDigits(n) + ext;
  }
  if (n < 0 || n == last) return fileName;
  const std::string number = std::to_string(static_cast<std::int64_t>(n) + 1);
  return stem + (InCapitals(ext) ? ".Z" : ".z") + (number.size() < 2 ? "0" : "") + number;
}

SetPart SetPartOf(const std::string& fileName) {
  SetPart part;
  part.Naming = NamingOf(fileName, 1);
  part.Number = PartNumberOf(fileName);
  if (part.Naming == VolumeNaming::Split) {
    part.Last = SplitPartNumber(ExtractFileExt(fileName)) == 0;
    return part;
  }
  if (part.Number < 2) return part;
  const std::string previous = VolumeFileFor(VolumeNaming::Numbered, fileName, part.Number - 2, 0);
  const std::string next = VolumeFileFor(VolumeNaming::Numbered, fileName, part.Number, 0);
  part.Last = IsRegularFile(previous) && (part.Number == 999 || !IsRegularFile(next));
  return part;
}
