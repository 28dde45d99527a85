#pragma once
// Turning an entry name into the parts of a path below the base folder.
#include <string>
#include <vector>

// Splits name at "/" into its parts, dropping empty and "." parts. False for names that could
// leave the base folder or cannot be written: empty, absolute, starting with a drive letter,
// holding a ".." part or a NUL byte. A name of "." parts only ("./") gives no parts: the base
// folder itself.
bool SplitSafeName(const std::string& name, std::vector<std::string>& parts);

// The last non-empty part of name ("a/b/" gives "b").
std::string BaseName(const std::string& name);
