#include "platform/FolderExchange.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>

bool ExchangeFolders(const std::string& first, const std::string& second) {
  if (renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the exchange: the first steps aside while the second moves in.
  const std::string aside = first + ".exchange";
  if (rename(first.c_str(), aside.c_str()) != 0) return false;
  if (rename(second.c_str(), first.c_str()) != 0) {
    rename(aside.c_str(), first.c_str());
    return false;
  }
  return rename(aside.c_str(), second.c_str()) == 0;
}
