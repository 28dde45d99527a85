// Path and name helpers shared by the component's parts.
#include "zip/ZipComp.h"

std::string TZipComponent::WithTrailingBackslash(const std::string& path) {
  // Either delimiter counts as a trailing one; an empty path stays empty rather than turning
  // into the root.
  if (path.empty() || path.back() == '\\' || path.back() == '/') return path;
  return path + PathDelim;
}

std::string TZipComponent::ToBackslashes(const std::string& name) {
  std::string result = name;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}
