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
  struct stat st = {};
  if (fstat(fd, &st) != 0 || st.st_dev != device) {
    close(fd);
    errno = EXDEV;
    return -1;
  }
  inode = st.st_ino;
  return fd;
}

// Removes the entry name of dirFd that OpenSubfolder just found to be no folder (a file or a
// link); any other failure of that opening is passed on. Returns 0 or the errno met.
int RemoveNonFolder(int dirFd, const char* name) {
  if (errno != ENOTDIR && errno != ELOOP) return errno;
  return unlinkat(dirFd, name, 0) == 0 ? 0 : errno;
}

// Opens the parent of the folder fd and checks that it is the folder whose identity is expected;
// -1 with errno when it is not.
int OpenParent(int fd, dev_t device, ino_t expected) {
  ino_t parentInode = 0;
  const int parentFd = OpenSubfolder(fd, "..", device, parentInode);
  if (parentFd >= 0 && parentInode != expected) {
    close(parentFd);
    errno = EXDEV;
    return -1;
  }
  return parentFd;
}

// One folder on the way down: its name in its parent, its identity, and what is left in it.
struct Level {
  std::string name;
  ino_t inode;
  std::vector<std::string> pending;
};

// Deletes a folder tree from the bottom up without crossing into another file system. However
// deep the tree, at most three handles are open at a time: the walk goes down one handle at a time
// and climbs back through "..", checking that it arrives in the folder it came from.
class FolderTreeDeletion {
 public:
  FolderTreeDeletion(int topFd, dev_t device) : FTopFd(topFd), FDevice(device) {}

  // Deletes the folder name of the top folder, open as fd; returns 0 or the first errno met.
  int Run(int fd, const std::string& name, ino_t inode) {
    FFd = fd;
    Enter(name, inode);
    while (!FPath.empty()) {
      if (!FPath.back().pending.empty())
        StepToNextChild();
      else if (!ClimbOut())
        break;
    }
    return FFirstError;
  }

 private:
  void Note(int error) {
    if (FFirstError == 0) FFirstError = error;
  }

  void Enter(const std::string& name, ino_t inode) {
    FPath.push_back({name, inode, {}});
    Note(ReadNames(FFd, FPath.back().pending));
  }

  // Removes the next name of the current folder, or goes down into it when it is a folder.
  void StepToNextChild() {
    Level& level = FPath.back();
    const std::string child = std::move(level.pending.back());
    level.pending.pop_back();
    ino_t childInode = 0;
    const int childFd = OpenSubfolder(FFd, child.c_str(), FDevice, childInode);
    if (childFd < 0) {
      Note(RemoveNonFolder(FFd, child.c_str()));
      return;
    }
    close(FFd);
    FFd = childFd;
    Enter(child, childInode);
  }

  // The current folder is empty as far as it goes: climbs to its parent and removes it there.
  // False when the tree was moved meanwhile: the walk stops rather than delete elsewhere.
  bool ClimbOut() {
    const std::string done = std::move(FPath.back().name);
    FPath.pop_back();
    int parentFd = FTopFd;
    if (!FPath.empty()) {
      parentFd = OpenParent(FFd, FDevice, FPath.back().inode);
      if (parentFd < 0) {
        Note(errno);
        close(FFd);
        return false;
      }
    }
    close(FFd);
    if (unlinkat(parentFd, done.c_str(), AT_REMOVEDIR) != 0) Note(errno);
    FFd = parentFd;
    return true;
  }

  const int FTopFd;
  const dev_t FDevice;
  int FFd = -1;  // the folder the walk stands in
  std::vector<Level> FPath;
  int FFirstError = 0;
};

// Deletes the entry name of the folder dirFd; a folder goes with its contents. Returns 0 or the
// first errno met.
int DeleteAt(int dirFd, const char* name, dev_t device) {
  ino_t inode = 0;
  const int fd = OpenSubfolder(dirFd, name, device, inode);
  if (fd < 0) return RemoveNonFolder(dirFd, name);
  return FolderTreeDeletion(dirFd, device).Run(fd, name, inode);
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
  struct stat st = {};
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

int DeleteFolderContents(const std::string& folder) {
  Target target;
  target.folder = folder;
  target.pattern = true;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno;
  std::vector<std::string> names;
  const int error = ReadNames(fd, names);
  close(fd);
  if (error != 0) return error;
  target.names = std::move(names);
  return DeleteTarget(target);
}
