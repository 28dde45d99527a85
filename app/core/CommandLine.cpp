#include "app/core/CommandLine.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string_view>

const char* const ReaderUsage = "usage: folivo [--help | --version] [ISSUE]\n";

const char* const ReaderHelp =
    "\n"
    "Shows an issue of the Korvex e-magazine (.kvx) in the reader's window. ISSUE, a path or a\n"
    "file:// URI, is opened once the window is there. When a reader already runs in this session,\n"
    "it is handed ISSUE (or only raised) and this start ends.\n"
    "\n"
    "Exit status:\n"
    "  0  the reader ran, or the running reader took the issue\n"
    "  1  the running reader refused the file, or could not be reached\n"
    "  2  wrong command line\n";

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const int lower = std::tolower(static_cast<unsigned char>(c));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string Absolute(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char* here = getcwd(nullptr, 0);
  if (here == nullptr) return std::string();
  std::string absolute = here;
  free(here);
  if (absolute.back() != '/') absolute += '/';
  return absolute + path;
}

TReaderArguments Wrong() {
  TReaderArguments arguments;
  arguments.action = TReaderArguments::TAction::Wrong;
  return arguments;
}
}  // namespace

std::string PathOfFileUri(const std::string& uri) {
  constexpr std::string_view scheme = "file://";
  if (uri.size() < scheme.size() || uri.compare(0, scheme.size(), scheme) != 0) return std::string();
  std::string rest = uri.substr(scheme.size());
  if (rest.compare(0, 9, "localhost") == 0) rest.erase(0, 9);
  if (rest.empty() || rest[0] != '/') return std::string();
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      path += rest[i];
      continue;
    }
    const int high = i + 2 < rest.size() ? HexValue(rest[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(rest[i + 2]) : -1;
    if (low < 0 || (high == 0 && low == 0)) return std::string();
    path += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return path;
}

TReaderArguments ParseReaderArguments(const std::vector<std::string>& words) {
  TReaderArguments arguments;
  bool optionsEnd = false;
  std::vector<std::string> operands;
  for (const std::string& word : words) {
    if (!optionsEnd && word == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && (word == "--help" || word == "-h")) {
      arguments.action = TReaderArguments::TAction::Help;
    } else if (!optionsEnd && word == "--version") {
      arguments.action = TReaderArguments::TAction::Version;
    } else if (!optionsEnd && word.size() > 1 && word[0] == '-') {
      return Wrong();
    } else {
      operands.push_back(word);
    }
  }
  if (operands.size() > 1) return Wrong();
  if (arguments.action != TReaderArguments::TAction::Start || operands.empty()) return arguments;
  const std::string& operand = operands[0];
  if (operand.compare(0, 5, "file:") == 0) {
    arguments.issue = PathOfFileUri(operand);
    if (arguments.issue.empty()) return Wrong();
  } else {
    arguments.issue = Absolute(operand);
    if (arguments.issue.empty()) return Wrong();
  }
  return arguments;
}
