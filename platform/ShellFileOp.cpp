// Recursive deletion without following symbolic links, or sending to the desktop trash.
#include "platform/ShellFileOp.h"

#include <dirent.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

constexpr int ERROR_INVALID_FUNCTION = 1;

// Deletes the entry name of the folder dirFd; a folder goes with its contents. Never crosses
// into another file system. Returns 0 or the first errno met.
int DeleteAt(int dirFd, const char* name, dev_t device) {
  const int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOTDIR && errno != ELOOP) return errno;
    return unlinkat(dirFd, name, 0) == 0 ? 0 : errno;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_dev != device) {
    close(fd);
    return EXDEV;
  }
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    const int error = errno;
    close(fd);
    return error;
  }
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    const std::string child = entry->d_name;
    if (child != "." && child != "..") names.push_back(child);
  }
  int firstError = 0;
  for (const std::string& child : names) {
    const int error = DeleteAt(fd, child.c_str(), device);
    if (firstError == 0) firstError = error;
  }
  closedir(dir);
  if (unlinkat(dirFd, name, AT_REMOVEDIR) != 0 && firstError == 0) firstError = errno;
  return firstError;
}

// The names one item of pFrom stands for, each as a folder part and a name part.
struct Target {
  std::string folder;
  std::vector<std::string> names;
  bool pattern = false;  // "*.*": the folder itself is entered only when it is not a link
};

Target Expand(std::string item) {
  while (item.size() > 1 && item.back() == '/') item.pop_back();
  const std::size_t slash = item.rfind('/');
  Target target;
  target.folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : item.substr(0, slash));
  const std::string last = slash == std::string::npos ? item : item.substr(slash + 1);
  if (last != "*.*") {
    target.names.push_back(last);
    return target;
  }
  target.pattern = true;
  const int fd = open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (DIR* dir = fd < 0 ? nullptr : fdopendir(fd)) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") target.names.push_back(name);
    }
    closedir(dir);
  } else {
    if (fd >= 0) close(fd);
    target.names.push_back(last);  // lets the failure show in the result
  }
  return target;
}

int Trash(const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  GError* error = nullptr;
  const bool ok = g_file_trash(file, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  g_object_unref(file);
  return ok ? 0 : EIO;
}

int DeleteTarget(const Target& target) {
  const int dirFd =
      open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (target.pattern ? O_NOFOLLOW : 0));
  if (dirFd < 0) return errno;
  struct stat st {};
  if (fstat(dirFd, &st) != 0) {
    const int error = errno;
    close(dirFd);
    return error;
  }
  int firstError = 0;
  for (const std::string& name : target.names) {
    const int error = (name == "." || name == "..") ? EINVAL : DeleteAt(dirFd, name.c_str(), st.st_dev);
    if (firstError == 0) firstError = error;
  }
  close(dirFd);
  return firstError;
}

}  // namespace

int SHFileOperationA(SHFILEOPSTRUCTA* operation) {
  if (operation == nullptr || operation->wFunc != FO_DELETE || operation->pFrom == nullptr)
    return ERROR_INVALID_FUNCTION;
  operation->fAnyOperationsAborted = 0;
  int firstError = 0;
  for (const char* item = operation->pFrom; *item != '\0'; item += std::char_traits<char>::length(item) + 1) {
    const Target target = Expand(item);
    int error = 0;
    if ((operation->fFlags & FOF_ALLOWUNDO) != 0) {
      for (const std::string& name : target.names) {
        const int trashError = Trash(target.folder + "/" + name);
        if (error == 0) error = trashError;
      }
    } else {
      error = DeleteTarget(target);
    }
    if (firstError == 0) firstError = error;
  }
  return firstError;
}
