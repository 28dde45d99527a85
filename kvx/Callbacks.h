#pragma once
// The library's side of the callback: one record, filled per call. Every call returns false once
// the component has answered -1 (stop), and keeps returning false after that.
#include <cstdint>
#include <string>

#include "zipformat/ZipCallback.h"

class KvxCallbacks {
 public:
  KvxCallbacks(UnzipCallbackFunction function, void* caller);

  bool Stopped() const { return FStopped; }
  bool FileCount(std::uint64_t count) { return Call(kvxFileCount, 0, Clamp(count), nullptr); }
  bool ByteCount(std::uint64_t bytes) { return Call(kvxByteCount, 0, Clamp(bytes), nullptr); }
  bool FileStart(const std::string& name, std::uint64_t size) {
    return Call(kvxFileStart, 0, Clamp(size), &name);
  }
  bool Written(std::uint64_t bytes) { return Call(kvxWritten, 0, Clamp(bytes), nullptr); }
  bool BatchEnd() { return Call(kvxBatchEnd, 0, 0, nullptr); }
  bool Message(std::int32_t code, const std::string& text) { return Call(kvxMessage, code, 0, &text); }
  bool Skipped(const std::string& name, std::int32_t reason, std::int32_t code) {
    return Call(kvxSkipped, code, reason, &name);
  }
  // Replaces name when the component answers code 1.
  bool NewName(std::string& name);
  // remaining: asks left, updated from the answer. password is set when one is given.
  bool Password(const std::string& name, std::int32_t& remaining, std::string& password, bool& given);
  // Answer: 1 keep, 0 delete, 2 keep and report.
  bool CrcError(const std::string& name, std::uint32_t found, std::uint32_t expected, std::int32_t& answer);
  bool Overwrite(const std::string& name, bool existingOlder, bool& overwrite);
  bool Comment(const std::string& name, char firstByte);

 private:
  static std::int32_t Clamp(std::uint64_t value) {
    return value > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(value);
  }
  // Sends a name or message, its NUL bytes written "\x00".
  bool Call(std::int32_t action, std::int32_t code, std::int32_t number, const std::string* text);
  // Sends the text's bytes as they are, at most textLimit of them.
  bool Send(std::int32_t action, std::int32_t code, std::int32_t number, const std::string* text,
            std::size_t textLimit);
  std::string AnswerText() const;

  UnzipCallbackFunction FFunction;
  UnzipCallbackRecord FRecord{};
  bool FStopped = false;
};
