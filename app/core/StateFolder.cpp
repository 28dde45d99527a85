#include "app/core/StateFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/core/BoundedRead.h"
#include "app/core/WorkingFolder.h"
#include "platform/CodePage.h"

namespace {
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : "";
}

// A real folder of the user's own, not a link.
bool IsOwnFolder(const std::string& folder) {
  struct stat info = {};
  return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid();
}

// Makes the folder and the folders above it that are missing, each 0700; the state folder is made
// 0700 when it is the user's own and more open.
bool MakeOwnFolder(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  if (!IsOwnFolder(folder)) return false;
  struct stat info = {};
  return lstat(folder.c_str(), &info) == 0 && ((info.st_mode & 077) == 0 || chmod(folder.c_str(), 0700) == 0);
}

bool WriteAll(int handle, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(handle, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}
}  // namespace

std::string StateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base = state && state[0] == '/' ? state : "";
  if (base.empty()) {
    const std::string home = HomeFolder();
    if (home.empty()) return "";
    base = home + "/.local/state";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = (base == "/" ? "" : base) + "/folivo";
  if (InsideWorkingFolder(folder + "/")) return "";
  return folder;
}

std::optional<std::string> ReadStateFile(const std::string& folder, const std::string& name,
                                         std::size_t limit) {
  if (folder.empty() || !IsOwnFolder(folder)) return std::nullopt;
  return ReadRegularFile(folder + "/" + name, limit, TOversize::Refuse);
}

bool WriteStateFile(const std::string& folder, const std::string& name, const std::string& text) {
  if (folder.empty() || folder[0] != '/' || !MakeOwnFolder(folder)) return false;
  std::string temporary = folder + "/." + name + ".XXXXXX";
  const int handle = mkstemp(temporary.data());
  if (handle < 0) return false;
  bool written = fchmod(handle, 0600) == 0 && WriteAll(handle, text) && fsync(handle) == 0;
  written = close(handle) == 0 && written;
  if (written && rename(temporary.c_str(), (folder + "/" + name).c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

bool IsPlainStateText(const std::string& text) {
  if (!IsValidUtf8(text)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    // U+0080..U+009F are C2 80..C2 9F.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) return false;
  }
  return true;
}

bool IsSafeRelativePath(const std::string& path) {
  if (path.empty() || path[0] == '/' || !IsPlainStateText(path)) return false;
  std::string part;
  for (const char c : path + '/') {
    if (c != '/' && c != '\\') {
      part += c;
      continue;
    }
    if (part.empty() || part == "." || part == "..") return false;
    part.clear();
  }
  return true;
}
