#include "classlib/Exceptions.h"

#include <cerrno>

EInOutError::EInOutError(int code) : Exception(InOutErrorMessage(code)), ErrorCode(code) {}

std::string InOutErrorMessage(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

int InOutErrorCode(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
      return 2;
    case ENAMETOOLONG:
    case EINVAL:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return 101;
    default:
      return errnoValue;
  }
}
