#pragma once
// Folders and files below the base folder, reached component by component without following
// symbolic links.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : FDescriptor(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : FDescriptor(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  ~UniqueFd();
  int Get() const { return FDescriptor; }
  int Release() {
    int fd = FDescriptor;
    FDescriptor = -1;
    return fd;
  }

 private:
  int FDescriptor = -1;
};

enum class PathStatus { Ok, Missing, Link, Error };

// Opens the folder made of parts[0..count) below base. Missing folders are created when create is
// set, else reported as Missing; firstMade, when given, is set to the index of the first part this
// call created (count when it created none). Link: a part is a symbolic link; Error: a part is no
// folder or a call failed (errorText says which).
PathStatus OpenFolder(int base, const std::vector<std::string>& parts, std::size_t count, bool create,
                      UniqueFd& folder, std::string& errorText, std::size_t* firstMade = nullptr);
// Removes the folders parts[firstMade..count) below base, deepest first, as long as each is empty.
void RemoveEmptyFolders(int base, const std::vector<std::string>& parts, std::size_t firstMade,
                        std::size_t count);

enum class LeafKind { None, File, Link, Other };
// What name is in folder, without following a link; mtime is set for a file.
LeafKind InspectLeaf(int folder, const std::string& name, std::int64_t& mtime);
