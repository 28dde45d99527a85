#pragma once
// One extracted file: written under a temporary name in its folder and moved to its own name
// only when complete, so a failed entry leaves nothing behind and replaces nothing.
#include <sys/types.h>

#include <cstdint>
#include <string>

#include "kvx/OutputTree.h"

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { Discard(); }

  // Creates the temporary file in folder (taken over). False with errorText on failure.
  bool Create(UniqueFd folder, const std::string& name, mode_t mode, std::string& errorText);
  bool Write(const void* data, std::size_t count, std::string& errorText);
  enum class CommitResult { Ok, Exists, Error };
  // Sets the modification time and gives the file its name; an existing file of that name is
  // replaced only when replace is set (Exists otherwise).
  CommitResult Commit(std::int64_t mtime, bool replace, std::string& errorText);
  // Removes the temporary file when it is still there.
  void Discard();

 private:
  UniqueFd FFolder;
  UniqueFd FFile;
  std::string FName;
  std::string FTempName;
};
