#pragma once
// How the volumes of a spanned set are named: the label of each removable disk, and the file of
// each volume on a fixed or network drive under either naming of the parts.
#include <cstdint>
#include <string>

// Numbered: every part carries its volume's three digits just before the extension (set001.zip,
// set002.zip, ...). Split: the earlier parts are NAME.z01, NAME.z02, ... and the last one, which
// holds the end record, is NAME.zip.
enum class VolumeNaming { Numbered, Split };

// The three digits of volume n (zero-based): 0 gives "001", 11 gives "012"; -1 and 999 give "000".
std::string VolumeDigits(std::int32_t n);
// The label of the disk that holds volume n: "PKBACK# " and the volume's three digits.
std::string VolumeLabelFor(std::int32_t n);
// The disk number that a label "PKBACK# nnn" gives; 0 when the label is no such one.
std::int32_t DiskOfLabel(const std::string& label);

// The naming of the set that fileName belongs to, last being the number of the set's last volume:
// Split when fileName is a part NAME.zNN or when one of the parts NAME.z01 to NAME.z<last> lies
// beside it, else Numbered.
VolumeNaming NamingOf(const std::string& fileName, std::int32_t last);
// The part number that a file's name gives: NN of NAME.zNN, else the three digits before the
// extension; 0 when it gives none.
std::int32_t PartNumberOf(const std::string& fileName);
// The file of volume n (zero-based) of a set whose last volume is last. Numbered: fileName with
// the three characters before its extension replaced by the volume's digits, "" when its name
// part is too short to hold them. Split: fileName, the set's last file, for the last volume, else
// NAME.z01 onwards in the case of fileName's extension.
std::string VolumeFileFor(VolumeNaming naming, const std::string& fileName, std::int32_t n,
                          std::int32_t last);

// Where a file stands among the parts of a spanned set, by its name and the files beside it.
struct SetPart {
  VolumeNaming Naming = VolumeNaming::Numbered;
  // The part number its name gives (NN of NAME.zNN, the three digits of NAME002.zip); 0 for none.
  std::int32_t Number = 0;
  // The set's last part, which holds its directory: NAME.zip beside NAME.z01, or a numbered part
  // whose previous part lies beside it and whose next one does not (or that is number 999).
  bool Last = false;
};
SetPart SetPartOf(const std::string& fileName);

// True when name is, by its name or under any name or link (device and inode), the archive or a
// file of its set under either naming: a join must never write over one.
bool IsFileOfSet(const std::string& name, const std::string& archive);
