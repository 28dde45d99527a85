// kvxtool extract [-d DIR] [-p PASSWORD] [--test] [--no-overwrite] [--junk-paths] [--salvage] ARCHIVE
//                 [PATTERN...]
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/DynLib.h"
#include "platform/Folders.h"
#include "tools/ExtractWatch.h"
#include "tools/KvxTool.h"
#include "tools/SafeText.h"
#include "tools/StopSignals.h"
#include "tools/TerminalBackend.h"
#include "zip/ZipComp.h"

namespace {
struct ExtractArgs {
  std::string dir, password, archive;
  bool havePassword = false, test = false, noOverwrite = false, junkPaths = false, salvage = false;
  std::vector<std::string> specs;
};

int Usage() {
  std::cerr << "usage: kvxtool extract [-d DIR] [-p PASSWORD] [--test] [--no-overwrite] "
               "[--junk-paths] [--salvage] ARCHIVE [PATTERN...]\n";
  return 2;
}

bool Parse(const ToolArgs& args, ExtractArgs& out) {
  bool optionsDone = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsDone && (a == "-d" || a == "-p")) {
      if (i + 1 >= args.size()) return false;
      (a == "-d" ? out.dir : out.password) = args[++i];
      out.havePassword = out.havePassword || a == "-p";
    } else if (!optionsDone && a == "--test") {
      out.test = true;
    } else if (!optionsDone && a == "--no-overwrite") {
      out.noOverwrite = true;
    } else if (!optionsDone && a == "--junk-paths") {
      out.junkPaths = true;
    } else if (!optionsDone && a == "--salvage") {
      out.salvage = true;
    } else if (!optionsDone && a == "--") {
      optionsDone = true;
    } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
      return false;
    } else if (out.archive.empty()) {
      out.archive = a;
    } else {
      out.specs.push_back(a);
    }
  }
  return !out.archive.empty();
}

// Creates the folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& path) {
  if (DirectoryExists(path)) return true;
  const std::string parent = ExtractFileDir(path);
  if (!parent.empty() && parent != path && !MakeFolders(parent)) return false;
  return CreateDirectoryA(path.c_str(), nullptr) || DirectoryExists(path);
}

// The terminal backend that turns a noted stop signal into a cancel, which the component passes on
// to the library at its next callback.
class TStopOnSignalBackend : public TTerminalBackend {
 public:
  TZipComponent* Zip = nullptr;
  void ProcessMessages() override {
    if (Zip && TStopSignals::Received() != 0) Zip->SetCancelRequested(true);
  }
};

// Deletes the named file, when there is one, at the end of its scope.
struct TRemovedAtEnd {
  const std::string& name;
  ~TRemovedAtEnd() {
    if (!name.empty()) DeleteFileA(name.c_str());
  }
};

// Reads a line from the terminal on stdin with echo off.
std::string AskOnTerminal(const std::string& forFile) {
  std::cerr << "Password for " << TerminalText(ShownName(forFile)) << ": " << std::flush;
  termios saved{};
  const bool haveTermios = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (haveTermios) {
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (haveTermios) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  if (!std::cin) std::cin.clear();
  return line;
}
}  // namespace

int RunExtract(const ToolArgs& args) {
  ExtractArgs a;
  if (!Parse(args, a)) return Usage();

  TStopOnSignalBackend terminal;
  TBackendScope backendScope(terminal);
  TZipComponent zip(nullptr);
  terminal.Zip = &zip;
  ToolSession session(zip);
  zip.SetDLLDirectory(ExecutableDirectory());

  ExtrOpts options{ExtrDirNames, ExtrOverWrite};
  if (a.junkPaths) options.Exclude(ExtrDirNames);
  if (a.noOverwrite) options.Exclude(ExtrOverWrite);
  if (a.test) options.Include(ExtrTest);
  zip.SetExtrOptions(options);

  const std::string archive = ExpandFileName(a.archive);
  const std::string base = a.dir.empty() ? GetCurrentDir() : ExpandFileName(a.dir);
  if (!MakeFolders(base)) {
    std::cerr << "kvxtool: cannot create " << TerminalText(base) << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  // The library writes below the current folder. It is entered once, here, and ExtrBaseDir stays
  // empty so the component does not enter it again by name: whatever becomes of the name
  // meanwhile, the entries land in this folder or nowhere.
  if (!SetCurrentDirectoryA(base.c_str())) {
    std::cerr << "kvxtool: cannot enter " << TerminalText(base) << ": " << std::strerror(errno) << "\n";
    return 1;
  }

  if (a.havePassword) zip.SetPassword(a.password);
  // Always answered here: a terminal is asked, anything else gets no password, and the entries
  // that need one are reported as skipped.
  const bool onTerminal = isatty(STDIN_FILENO) == 1;
  zip.OnPasswordError = [onTerminal](TZipComponent*, std::string& newPassword, const std::string& forFile,
                                     std::uint32_t&) {
    newPassword = onTerminal ? AskOnTerminal(forFile) : std::string();
  };

  std::string repaired;
  if (a.salvage && zip.Salvage(archive, repaired) != 0) return 1;
  // The repaired copy is the tool's own temporary file: it goes however the extraction ends.
  const TRemovedAtEnd removeRepaired{repaired};
  zip.SetZipFileName(repaired.empty() ? archive : repaired);
  if (!zip.HasDirectory()) return 1;
  TExtractWatch watch(zip, session, a.test);
  for (const std::string& pattern : a.specs) zip.FSpecArgs().Add(pattern);
  TStopSignals stopSignals;
  zip.Extract();
  stopSignals.EndByReceived();
  const bool unmatched = watch.ReportUnmatched(a.specs);
  if (a.test) watch.PrintTestSummary();
  return session.ErrorReported || unmatched ? 1 : 0;
}
