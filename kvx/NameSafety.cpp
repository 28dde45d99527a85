#include "kvx/NameSafety.h"

#include <cctype>

bool SplitSafeName(const std::string& name, std::vector<std::string>& parts) {
  parts.clear();
  if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos) return false;
  if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    start = end + 1;
  }
  return true;
}

std::string BaseName(const std::string& name) {
  std::size_t end = name.find_last_not_of('/');
  if (end == std::string::npos) return std::string();
  std::size_t start = name.find_last_of('/', end);
  start = start == std::string::npos ? 0 : start + 1;
  return name.substr(start, end - start + 1);
}
