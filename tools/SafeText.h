#pragma once
// Names, comments and messages come from the archive and are printed only through these: control
// characters (C0, DEL, C1), bidirectional controls, line and paragraph separators and bytes that
// are not UTF-8 are escaped, so nothing printed can move the cursor, talk to the terminal, forge a
// line or reorder what is shown.
#include <string>
#include <string_view>

// For the terminal: \n \r \t, \xHH for other control bytes and for bytes that are not UTF-8,
// \uHHHH for the other characters above, \\ for a backslash.
std::string TerminalText(std::string_view text);

// A quoted JSON string holding the same characters; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

// An entry name as users write it: the component's "\" between folders shown as "/".
std::string ShownName(std::string_view componentName);
