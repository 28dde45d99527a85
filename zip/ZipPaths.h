#pragma once
// Path and name helpers shared by the component and its parts.
#include <string>

// The path with a trailing delimiter; either delimiter counts as one, and "" stays "".
std::string WithTrailingBackslash(const std::string& path);
// An entry name with every "/" made a backslash.
std::string ToBackslashes(const std::string& name);
