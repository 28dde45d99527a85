// kvxtool: dispatches to the command named by the first argument.
#include <cstdio>
#include <string>

#include "tools/KvxTool.h"

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

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: kvxtool list [--json] ARCHIVE\n"
      "       kvxtool extract [-d DIR] [-p PASSWORD] [--test] [--no-overwrite] [--junk-paths] "
      "ARCHIVE [PATTERN...]\n"
      "       kvxtool join ARCHIVE OUTPUT\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  const ToolArgs words(argv + 1, argv + argc);
  if (words.empty()) {
    PrintUsage(stderr);
    return 2;
  }
  if (words[0] == "--help" || words[0] == "-h") {
    PrintUsage(stdout);
    return 0;
  }
  for (const Command& command : Commands)
    if (words[0] == command.name) return command.run(ToolArgs(words.begin() + 1, words.end()));
  std::fprintf(stderr, "kvxtool: unknown command '%s'\n", words[0].c_str());
  PrintUsage(stderr);
  return 2;
}
