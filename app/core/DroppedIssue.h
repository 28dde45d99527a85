#pragma once
// Which file given to the reader without the open dialog (dropped on the window, handed over by a
// later start, named on the command line) it opens as an issue: a .kvx file, or the last part of a
// spanned set: name.zip beside name.z01, name.z02, ..., or of numbered files (name001.zip,
// name002.zip, ...: the part before which the previous number exists and after which the next one
// does not).
#include <string>
#include <vector>

// Why the file is no issue the reader can open: "no such file", "permission denied", "a folder",
// "not an issue"; "" when it is one.
std::string IssueFileProblem(const std::string& name);
// The file to open, or "" when the drop holds no single issue.
std::string IssueOfDrop(const std::vector<std::string>& files);
