#pragma once
// Files for tests: whole-file reads and writes, and private temporary folders.
#include <string>

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);  // throws when the file cannot be read

// A fresh folder of mode 0700 with a random name under the system's temporary folder (TMPDIR),
// removed with everything in it.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};
