#pragma once
// The reader's command line: `folivo [ISSUE]`, where ISSUE is a path or a file:// URI.
#include <string>
#include <vector>

struct TReaderArguments {
  enum class TAction { Start, Help, Version, Wrong };
  TAction action = TAction::Start;
  std::string issue;  // absolute path of the issue to open after start, "" for none
};

// The arguments after the program's name. A relative path is taken from the current folder.
TReaderArguments ParseReaderArguments(const std::vector<std::string>& words);

// The local path of a file:// URI, percent-decoded; "" for another host, a bad escape or an
// encoded NUL.
std::string PathOfFileUri(const std::string& uri);

extern const char* const ReaderUsage;
extern const char* const ReaderHelp;
