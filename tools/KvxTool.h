#pragma once
// kvxtool: a command-line front end to TZipComponent.
#include <string>
#include <vector>

class TZipComponent;

using ToolArgs = std::vector<std::string>;

// Sets the component up for the terminal: Unattended, every message to stderr as
// "kvxtool: <id>: <text>", and notes whether an error was reported.
struct ToolSession {
  explicit ToolSession(TZipComponent& zip);
  bool ErrorReported = false;
};

int RunList(const ToolArgs& args);     // list [--json] [--salvage] ARCHIVE
int RunExtract(const ToolArgs& args);  // extract [-d DIR] [-p PASSWORD] [--test] [--no-overwrite]
                                       // [--junk-paths] [--salvage] ARCHIVE [PATTERN...]
int RunJoin(const ToolArgs& args);     // join ARCHIVE OUTPUT
