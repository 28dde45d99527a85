// Path and name helpers shared by the component's parts.
#include "zip/ZipPaths.h"

#include "platform/Win32Types.h"

std::string WithTrailingBackslash(const std::string& path) {
  // Either delimiter counts as a trailing one; an empty path stays empty rather than turning
  // into the root.
  if (path.empty() || path.back() == '\\' || path.back() == '/') return path;
  return path + PathDelim;
}

std::string ToBackslashes(const std::string& name) {
  std::string result = name;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}
