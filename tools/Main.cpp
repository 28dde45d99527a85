// kvxtool: dispatches to the command named by the first argument.
#include <cstdio>
#include <string>

#include "tools/KvxTool.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const ToolArgs& args);
};

const Command Commands[] = {
    {"list", RunList},
    {"extract", RunExtract},
    {"join", RunJoin},
};

const char* const Usage =
    "usage: kvxtool list [--json] [--salvage] ARCHIVE\n"
    "       kvxtool extract [-d DIR] [-p PASSWORD] [--test] [--no-overwrite] [--junk-paths] "
    "[--salvage] ARCHIVE [PATTERN...]\n"
    "       kvxtool join ARCHIVE OUTPUT\n"
    "       kvxtool --help | --version\n";

const char* const Help =
    "\n"
    "Lists, tests and unpacks Korvex issues (.kvx) and other zip archives, and joins a set\n"
    "spanned over numbered files (name001.zip, name002.zip, ...) into one archive.\n"
    "\n"
    "Commands:\n"
    "  list ARCHIVE        one line per entry and a line with the totals\n"
    "    --json            the directory as one JSON object instead\n"
    "    --salvage         of a cut archive (no directory at its end), the whole entries from\n"
    "                      its start up to the first that is not; says how many and where\n"
    "  extract ARCHIVE [PATTERN...]\n"
    "                      unpacks the entries whose names match a PATTERN (all without one);\n"
    "                      * ? and [...] match any characters, / included\n"
    "    -d DIR            into DIR, made when missing (default: the current folder)\n"
    "    -p PASSWORD       the password of encrypted entries (else asked on a terminal)\n"
    "    --test            checks every entry, writes nothing, reports each one that fails\n"
    "    --no-overwrite    keeps existing files\n"
    "    --junk-paths      drops the folders of the names\n"
    "    --salvage         unpacks what a cut archive still holds, as list --salvage shows it\n"
    "  join ARCHIVE OUTPUT joins the set whose last part is ARCHIVE into OUTPUT\n"
    "\n"
    "Reports go to stderr as \"kvxtool: <id>: <text>\". Names are shown with / between folders;\n"
    "control and bidirectional characters and bytes that are not UTF-8 are shown escaped.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  an error was reported (a pattern that matches no entry is one)\n"
    "  2  wrong command line\n";

// "--help" anywhere before "--", or "-h" in place of a command.
bool AsksForHelp(const ToolArgs& words) {
  if (words[0] == "-h") return true;
  for (const std::string& word : words) {
    if (word == "--") return false;
    if (word == "--help") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const ToolArgs words(argv + 1, argv + argc);
  if (words.empty()) {
    std::fputs(Usage, stderr);
    return 2;
  }
  if (AsksForHelp(words)) {
    std::printf("%s%s", Usage, Help);
    return 0;
  }
  if (words[0] == "--version") {
    std::printf("kvxtool %s (archive component %s)\n", KVXTOOL_VERSION, ZipVersionText);
    return 0;
  }
  for (const Command& command : Commands)
    if (words[0] == command.name) return command.run(ToolArgs(words.begin() + 1, words.end()));
  std::fprintf(stderr, "kvxtool: unknown command '%s'\n", TerminalText(words[0]).c_str());
  std::fputs(Usage, stderr);
  return 2;
}
