#pragma once
// An issue file recognised again: by its size, its modification time and a hash of the directory
// List read from it, so a file renamed or moved is the same issue and a file rewritten in place is
// another.
#include <cstdint>
#include <optional>
#include <string>

#include "zip/ZipComp.h"

struct TIssueIdentity {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  std::uint64_t directoryHash = 0;
  bool operator==(const TIssueIdentity&) const = default;
};

// The identity of the file whose directory the component holds (after its List); nothing when the
// file cannot be looked at.
std::optional<TIssueIdentity> IdentityOf(const std::string& fileName, const TZipComponent& zip);

// A 64-bit hash over every entry's name, CRC, sizes, time and offset, in directory order.
std::uint64_t DirectoryHash(const TZipComponent& zip);
