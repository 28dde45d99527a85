#pragma once
#include <stdexcept>
#include <string>

// Base of the class library's errors: carries the message text.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// An I/O error with its code (operating-system codes, run-time codes 100, 101, 106).
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  int ErrorCode;
};

// The message of an I/O error code: "File not found", ..., "I/O error %d".
std::string InOutErrorMessage(int code);
// The I/O error code for an errno value (ENOENT 2, EACCES 5, ENOSPC 101, ...).
int InOutErrorCode(int errnoValue);
