// kvxtool join ARCHIVE OUTPUT: joins a spanned set into one zip file.
//
// The set is joined into a new file next to OUTPUT, which then takes OUTPUT's name, so OUTPUT is
// either the whole joined archive or untouched. Disks of a removable set are asked for on the
// terminal: the component runs attended for this command, with a backend whose message box
// prompts on stderr and reads the answer from stdin.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/Folders.h"
#include "tools/KvxTool.h"
#include "tools/SafeText.h"
#include "tools/TerminalBackend.h"
#include "zip/ZipComp.h"
#include "zip/volumes/VolumeNames.h"

namespace {

int Fail(const std::string& text) {
  std::cerr << "kvxtool: join: " << text << '\n';
  return 1;
}

}  // namespace

int RunJoin(const ToolArgs& args) {
  if (args.size() != 2 || args[0].empty() || args[1].empty() || args[0][0] == '-' || args[1][0] == '-') {
    std::cerr << "usage: kvxtool join ARCHIVE OUTPUT\n";
    return 2;
  }
  const std::string archive = ExpandFileName(args[0]);
  const std::string output = ExpandFileName(args[1]);
  if (DirectoryExists(output)) return Fail("'" + TerminalText(output) + "' is a folder");
  if (IsFileOfSet(output, archive)) return Fail("the output would replace a file of the set");
  const std::string folder = ExtractFileDir(output);
  if (!DirectoryExists(folder)) return Fail("there is no folder '" + TerminalText(folder) + "'");

  TTerminalBackend terminal;
  TBackendScope backendScope(terminal);
  TZipComponent zip(nullptr);
  ToolSession session(zip);
  zip.SetUnattended(false);

  zip.SetTempDir(folder);
  std::string joined = TZipComponent::WithTrailingBackslash(folder);
  if (zip.ReadSpan(archive, joined) != 0) return 1;
  // A file of the set may have taken the output's name while the join ran.
  if (IsFileOfSet(output, archive)) {
    DeleteFileA(joined.c_str());
    return Fail("the output would replace a file of the set");
  }
  if (std::rename(joined.c_str(), output.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    DeleteFileA(joined.c_str());
    return Fail("cannot write '" + TerminalText(output) + "': " + reason);
  }
  // The joined file was made private; the user's output gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(output.c_str(), 0666 & ~mask);
  return 0;
}
