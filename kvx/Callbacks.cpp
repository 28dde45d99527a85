#include "kvx/Callbacks.h"

#include <algorithm>
#include <cstring>

namespace {

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::size_t CutPoint(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

// The text as the record carries it: a NUL byte, which would end the text there, is written "\x00"
// as listings show it.
std::string WithNulEscaped(const std::string& text) {
  std::string carried;
  carried.reserve(text.size());
  for (const char c : text) carried += c == '\0' ? std::string("\\x00") : std::string(1, c);
  return carried;
}

}  // namespace

KvxCallbacks::KvxCallbacks(UnzipCallbackFunction function, void* caller) : FFunction(function) {
  FRecord.Caller = caller;
}

bool KvxCallbacks::Call(std::int32_t action, std::int32_t code, std::int32_t number,
                        const std::string* text) {
  if (!text) return Send(action, code, number, nullptr, 0);
  const std::string carried = WithNulEscaped(*text);
  return Send(action, code, number, &carried, sizeof FRecord.Text - 1);
}

bool KvxCallbacks::Send(std::int32_t action, std::int32_t code, std::int32_t number, const std::string* text,
                        std::size_t textLimit) {
  if (FStopped) return false;
  if (!FFunction) return true;
  FRecord.ActionCode = action;
  FRecord.Code = code;
  FRecord.Number = number;
  std::memset(FRecord.Text, 0, sizeof FRecord.Text);
  if (text) std::memcpy(FRecord.Text, text->data(), CutPoint(*text, textLimit));
  if (FFunction(&FRecord) == -1) FStopped = true;
  return !FStopped;
}

std::string KvxCallbacks::AnswerText() const {
  return std::string(FRecord.Text, strnlen(FRecord.Text, sizeof FRecord.Text));
}

bool KvxCallbacks::NewName(std::string& name) {
  if (!Call(kvxNewName, 0, 0, &name)) return false;
  if (FRecord.Code == 1) name = AnswerText();
  return true;
}

bool KvxCallbacks::Password(const std::string& name, std::int32_t& remaining, std::string& password,
                            bool& given) {
  given = false;
  if (!Call(kvxPassword, 0, remaining, &name)) return false;
  // Each request uses one ask; the answer may only shorten what is left.
  remaining = std::max(0, std::min(FRecord.Number, remaining - 1));
  if (FRecord.Code == 1) {
    password = AnswerText();
    given = true;
  } else {
    remaining = 0;
  }
  return true;
}

bool KvxCallbacks::CrcError(const std::string& name, std::uint32_t found, std::uint32_t expected,
                            std::int32_t& answer) {
  if (!Call(kvxCrcError, static_cast<std::int32_t>(found), static_cast<std::int32_t>(expected), &name))
    return false;
  answer = FRecord.Code;
  return true;
}

bool KvxCallbacks::Overwrite(const std::string& name, bool existingOlder, bool& overwrite) {
  if (!Call(kvxOverwrite, existingOlder ? 1 : 0, 0, &name)) return false;
  overwrite = FRecord.Number != 0;
  return true;
}

bool KvxCallbacks::Comment(const std::string& name, char firstByte) {
  // The name, NUL-terminated, in the bytes before the comment's first byte.
  const std::string carried = WithNulEscaped(name);
  std::string text = carried.substr(0, CutPoint(carried, kvxCommentByteAt - 1));
  text.resize(kvxCommentByteAt, '\0');
  text += firstByte;
  return Send(kvxComment, 0, 0, &text, text.size());
}
