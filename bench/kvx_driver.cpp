// Drives libkvx.so directly: extracts ARCHIVE into DIR with folder names and overwriting, and
// prints the library's messages and skips to stderr. Built by extract.sh.
//   kvx_driver LIBKVX ARCHIVE DIR [--test] [--password PW]
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "zipformat/KvxLib.h"

static int32_t Report(UnzipCallbackRecord* r) {
  if (r->ActionCode == kvxMessage) std::fprintf(stderr, "message %d: %s\n", r->Code, r->Text);
  if (r->ActionCode == kvxSkipped) std::fprintf(stderr, "skipped (%d): %s\n", r->Number & 0xFF, r->Text);
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s LIBKVX ARCHIVE DIR [--test] [--password PW]\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW);
  auto exec = lib ? reinterpret_cast<KvxUnzipExecFunction>(dlsym(lib, "KvxUnzipExec")) : nullptr;
  if (!exec) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 2;
  }
  UnzipCommandRecord cmd{};
  std::string archive = argv[2][0] == '/' ? argv[2] : std::string(getcwd(nullptr, 0)) + "/" + argv[2];
  cmd.ArchiveName = archive.c_str();
  cmd.Password = "";
  cmd.Callback = Report;
  cmd.Version = kvxLibraryVersion;
  cmd.Reserved40 = -1;
  cmd.DirNamesFlag = -1;
  cmd.OverwriteFlag = -1;
  cmd.LayoutMarker = kvxLayoutMarker;
  for (int i = 4; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--test")) cmd.TestFlag = -1;
    if (!std::strcmp(argv[i], "--password") && i + 1 < argc) cmd.Password = argv[++i];
  }
  if (chdir(argv[3]) != 0) {
    std::perror(argv[3]);
    return 2;
  }
  int32_t count = exec(&cmd);
  std::printf("%d\n", count);
  return 0;
}
