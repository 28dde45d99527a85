#pragma once
// Which dropped file the window opens as an issue: a .kvx file, or the last part of a spanned
// set: name.zip beside name.z01, name.z02, ..., or of numbered files (name001.zip, name002.zip,
// ...: the part before which the previous number exists and after which the next one does not).
// Anything else is ignored.
#include <string>
#include <vector>

// The file to open, or "" when the drop holds no single issue.
std::string IssueOfDrop(const std::vector<std::string>& files);
