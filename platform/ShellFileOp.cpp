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

// The names in the folder fd, "." and ".." left out; fd stays open and is not moved.
int ReadNames(int fd, std::vector<std::string>& names) {
  const int copy = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = copy < 0 ? nullptr : fdopendir(copy);
  if (dir == nullptr) {
    const int error = errno;
    if (copy >= 0) close(copy);
    return error;
  }
  while (dirent* entry = readdir(dir)) {
    const std::string child = entry->d_name;
    if (child != "." && child != "..") names.push_back(child);
  }
  closedir(dir);
  return 0;
}

// Opens the folder name of dirFd without following a link; -1 with errno when it is none.
// A folder on another file system is refused with EXDEV.
int OpenSubfolder(int dirFd, const char* name, dev_t device, ino_t& inode) {
  const int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_dev != device) {
    close(fd);
    errno = EXDEV;
    return -1;
  }
  inode = st.st_ino;
  return fd;
}

// One folder on the way down: its name in its parent, its identity, and what is left in it.
struct Level {
  std::string name;
  ino_t inode;
  std::vector<std::string> pending;
};

// Deletes the entry name of the folder dirFd; a folder goes with its contents. Never crosses into
// another file system. However deep the tree, at most three handles are open at a time: the walk
// goes down one handle at a time and climbs back through "..", checking that it arrives in the
// folder it came from. Returns 0 or the first errno met.
int DeleteAt(int dirFd, const char* name, dev_t device) {
  ino_t inode = 0;
  int fd = OpenSubfolder(dirFd, name, device, inode);
  if (fd < 0) {
    if (errno != ENOTDIR && errno != ELOOP) return errno;
    return unlinkat(dirFd, name, 0) == 0 ? 0 : errno;
  }
  int firstError = 0;
  const auto note = [&firstError](int error) {
    if (firstError == 0) firstError = error;
  };
  std::vector<Level> path;
  path.push_back({name, inode, {}});
  note(ReadNames(fd, path.back().pending));
  while (!path.empty()) {
    Level& level = path.back();
    if (!level.pending.empty()) {
      const std::string child = std::move(level.pending.back());
      level.pending.pop_back();
      ino_t childInode = 0;
      const int childFd = OpenSubfolder(fd, child.c_str(), device, childInode);
      if (childFd < 0) {
        if (errno != ENOTDIR && errno != ELOOP)
          note(errno);
        else if (unlinkat(fd, child.c_str(), 0) != 0)
          note(errno);
        continue;
      }
      close(fd);
      fd = childFd;
      path.push_back({child, childInode, {}});
      note(ReadNames(fd, path.back().pending));
      continue;
    }
    // The folder is empty as far as it goes: climb to its parent and remove it there.
    const std::string done = std::move(level.name);
    path.pop_back();
    int parentFd = dirFd;
    if (!path.empty()) {
      ino_t parentInode = 0;
      parentFd = OpenSubfolder(fd, "..", device, parentInode);
      if (parentFd >= 0 && parentInode != path.back().inode) {
        close(parentFd);
        parentFd = -1;
        errno = EXDEV;
      }
      if (parentFd < 0) {  // the tree was moved meanwhile: stop rather than delete elsewhere
        note(errno);
        close(fd);
        return firstError;
      }
    }
    close(fd);
    if (unlinkat(parentFd, done.c_str(), AT_REMOVEDIR) != 0) note(errno);
    fd = parentFd;
  }
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
