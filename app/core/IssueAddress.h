#pragma once
// The engine reads the working folder through an address scheme of the reader's own,
// "korvex://issueN/path", served by the reader; the shell and its history speak in plain paths.
// Each issue opened gets its own N, so pages of one issue never share an origin with another's.
#include <string>

extern const char* const IssueScheme;  // "korvex"

// The engine's address for a plain path or a file: URI inside the folder (query and fragment
// kept); "" for anything else.
std::string EngineAddress(const std::string& address, const std::string& folder, unsigned issue);
// The address the shell records for an engine address of the reader's scheme: the plain path, or
// the file: URI when a query or fragment follows; other addresses come back as they are.
std::string ShellAddress(const std::string& uri, const std::string& folder);
// The decoded path of an address of the reader's scheme for the given issue ("" for another issue
// or another scheme); query and fragment dropped.
std::string IssuePathOf(const std::string& uri, unsigned issue);

// What the reader does with a navigation a page starts.
enum class TNavigationVerdict {
  Load,     // the reader's scheme, or what the engine keeps inside the page (about:, data:, javascript:)
  HandOff,  // a web or mail address: the desktop shows it, when it is the link the user activated
  Drop,     // anything else: other files and schemes, forms sent to the web or by mail
};
TNavigationVerdict NavigationVerdict(const std::string& uri, bool formSent);
