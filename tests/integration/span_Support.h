#pragma once
// Spanned sets for the join tests: made by the zip tool and renamed into numbered files, or
// crafted byte by byte; and the oracles that read a joined archive.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Shell.h"
#include "tests/support/ZipWriter.h"

// count files under folder/tree, half compressible text and half random bytes.
inline void MakeTree(const std::string& folder, int count, std::size_t maxSize, unsigned seed) {
  std::mt19937 random(seed);
  Shell("mkdir -p " + Quoted(folder + "/tree/sub"));
  for (int i = 0; i < count; ++i) {
    const std::size_t size = random() % (maxSize + 1);
    std::string data(size, '\0');
    for (std::size_t j = 0; j < size; ++j)
      data[j] = (i % 2 == 0) ? static_cast<char>('a' + (j / 7 + i) % 26) : static_cast<char>(random());
    WriteBytes(folder + (i % 3 == 0 ? "/tree/sub/f" : "/tree/f") + std::to_string(i) + ".dat", data);
  }
}

// Runs zip -s over folder/tree into folder/set.zip and renames the parts as numbered files:
// set.z01 becomes set001.zip, ..., and set.zip takes the highest number. Returns them in order.
inline std::vector<std::string> MakeNumberedSet(const std::string& folder, const std::string& split,
                                                const std::string& options = "") {
  if (Shell("cd " + Quoted(folder) + " && zip -q -r -s " + split + " " + options + " set.zip tree") != 0)
    return {};
  std::vector<std::string> parts;
  for (int k = 1;; ++k) {
    char from[32], to[32];
    std::snprintf(from, sizeof from, "set.z%02d", k);
    std::snprintf(to, sizeof to, "set%03d.zip", k);
    const bool last = std::rename((folder + "/" + from).c_str(), (folder + "/" + to).c_str()) != 0;
    if (last && std::rename((folder + "/set.zip").c_str(), (folder + "/" + to).c_str()) != 0) return {};
    parts.push_back(folder + "/" + to);
    if (last) return parts;
  }
}

// One entry of a crafted set: stored, its name and data as given.
struct CraftedEntry {
  CraftedEntry(std::string name, std::string data, std::string comment = "", bool descriptor = false)
      : name(std::move(name)), data(std::move(data)), comment(std::move(comment)), descriptor(descriptor) {}
  std::string name, data, comment;
  bool descriptor;  // flag bit 3, sizes and CRC 0 in the local header, 16-byte descriptor
};

struct CraftedSet {
  std::vector<CraftedEntry> entries;    // central directory order
  std::vector<std::size_t> localOrder;  // order of the local entries on the disks; empty: the same
  std::string comment;
  std::size_t partSize = 1 << 20;  // headers and names never straddle two parts
};

namespace crafted {
// Appends to the last part; a whole record that does not fit starts a new part.
struct Parts {
  std::size_t size;
  std::vector<std::string> bytes{std::string()};
  void Add(const std::string& data, bool whole) {
    if (whole && bytes.back().size() + data.size() > size) bytes.emplace_back();
    for (const char c : data) {
      if (bytes.back().size() >= size) bytes.emplace_back();
      bytes.back() += c;
    }
  }
  std::uint32_t Disk() const { return static_cast<std::uint32_t>(bytes.size() - 1); }
  std::uint32_t Offset() const { return static_cast<std::uint32_t>(bytes.back().size()); }
};
}  // namespace crafted

// The parts' bytes, first to last.
inline std::vector<std::string> BuildCraftedSet(const CraftedSet& set) {
  using namespace crafted;
  Parts parts{set.partSize};
  std::string marker;
  AppendLe32(marker, 0x08074B50);
  parts.Add(marker, true);
  std::vector<std::uint32_t> disk(set.entries.size()), offset(set.entries.size());
  for (std::size_t n = 0; n < set.entries.size(); ++n) {
    const std::size_t i = set.localOrder.empty() ? n : set.localOrder[n];
    const CraftedEntry& e = set.entries[i];
    const std::uint32_t crc = TestCrc32(e.data), size = static_cast<std::uint32_t>(e.data.size());
    std::string header;
    AppendLe32(header, 0x04034B50);
    AppendLe16(header, 20);
    AppendLe16(header, e.descriptor ? 8 : 0);
    AppendLe16(header, 0);
    AppendLe32(header, 0x5A8C6000);
    AppendLe32(header, e.descriptor ? 0 : crc);
    AppendLe32(header, e.descriptor ? 0 : size);
    AppendLe32(header, e.descriptor ? 0 : size);
    AppendLe16(header, static_cast<std::uint32_t>(e.name.size()));
    AppendLe16(header, 0);
    parts.Add(header + e.name, true);
    disk[i] = parts.Disk();
    offset[i] = parts.Offset() - static_cast<std::uint32_t>(header.size() + e.name.size());
    parts.Add(e.data, false);
    if (e.descriptor) {
      std::string d;
      AppendLe32(d, 0x08074B50);
      AppendLe32(d, crc);
      AppendLe32(d, size);
      AppendLe32(d, size);
      parts.Add(d, false);
    }
  }
  std::uint32_t centralDisk = 0, centralOffset = 0, centralSize = 0;
  for (std::size_t i = 0; i < set.entries.size(); ++i) {
    const CraftedEntry& e = set.entries[i];
    std::string h;
    AppendLe32(h, 0x02014B50);
    AppendLe16(h, 0x031E);
    AppendLe16(h, 20);
    AppendLe16(h, e.descriptor ? 8 : 0);
    AppendLe16(h, 0);
    AppendLe32(h, 0x5A8C6000);
    AppendLe32(h, TestCrc32(e.data));
    AppendLe32(h, static_cast<std::uint32_t>(e.data.size()));
    AppendLe32(h, static_cast<std::uint32_t>(e.data.size()));
    AppendLe16(h, static_cast<std::uint32_t>(e.name.size()));
    AppendLe16(h, 0);
    AppendLe16(h, static_cast<std::uint32_t>(e.comment.size()));
    AppendLe16(h, disk[i]);
    AppendLe16(h, 0);
    AppendLe32(h, 0100644u << 16);
    AppendLe32(h, offset[i]);
    parts.Add(h + e.name, true);
    if (i == 0) {
      centralDisk = parts.Disk();
      centralOffset = parts.Offset() - static_cast<std::uint32_t>(h.size() + e.name.size());
    }
    parts.Add(e.comment, false);
    centralSize += static_cast<std::uint32_t>(h.size() + e.name.size() + e.comment.size());
  }
  std::string end;
  AppendLe32(end, 0x06054B50);
  const std::size_t endDisk = parts.bytes.back().size() + 22 + set.comment.size() > set.partSize
                                  ? parts.bytes.size()
                                  : parts.bytes.size() - 1;
  if (set.entries.empty()) {
    centralDisk = static_cast<std::uint32_t>(endDisk);
    centralOffset = endDisk < parts.bytes.size() ? parts.Offset() : 0;
  }
  AppendLe16(end, static_cast<std::uint32_t>(endDisk));
  AppendLe16(end, centralDisk);
  AppendLe16(end, 0);
  AppendLe16(end, static_cast<std::uint32_t>(set.entries.size()));
  AppendLe32(end, centralSize);
  AppendLe32(end, centralOffset);
  AppendLe16(end, static_cast<std::uint32_t>(set.comment.size()));
  parts.Add(end + set.comment, true);
  return parts.bytes;
}

// Writes the parts as folder/<stem>001.zip, ... and returns their names.
inline std::vector<std::string> WriteNumberedParts(const std::string& folder, const std::string& stem,
                                                   const std::vector<std::string>& bytes) {
  std::vector<std::string> names;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%03zu", k + 1);
    names.push_back(folder + "/" + stem + digits + ".zip");
    WriteBytes(names.back(), bytes[k]);
  }
  return names;
}

// What Python's zipfile reads from the archive: one "name<TAB>crc32 of the data" line per entry,
// in central order. It checks every CRC and that each local header names its central entry.
inline std::string ZipfileListing(const std::string& archive) {
  const std::string out = archive + ".listing";
  const std::string script =
      "import sys, zipfile, zlib\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "with open(sys.argv[2], 'w', encoding='utf-8', errors='surrogateescape') as f:\n"
      "    for i in z.infolist():\n"
      "        f.write('%s\\t%08x\\n' % (i.filename, zlib.crc32(z.read(i))))\n";
  if (Shell("python3 -c " + Quoted(script) + " " + Quoted(archive) + " " + Quoted(out)) != 0) return "";
  const std::string listing = ReadBytes(out);
  std::remove(out.c_str());
  return listing;
}

inline std::string ExpectedListing(const CraftedSet& set) {
  std::string listing;
  char crc[16];
  for (const CraftedEntry& e : set.entries) {
    std::snprintf(crc, sizeof crc, "%08x", TestCrc32(e.data));
    listing += e.name + "\t" + crc + "\n";
  }
  return listing;
}
