// One escaping routine, in a form for the terminal and one for JSON.
#include "tools/SafeText.h"

#include <cstdio>

#include "platform/CodePage.h"

namespace {

enum class EscapeStyle { Terminal, Json };

bool Unsafe(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x061C || code == 0x200E ||
         code == 0x200F || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

void AppendHex(std::string& out, const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  out += text;
}

std::string Escape(std::string_view text, EscapeStyle style) {
  const bool json = style == EscapeStyle::Json;
  std::string out;
  out.reserve(text.size() + 2);
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    const std::size_t length = Utf8SequenceAt(text, at, code);
    if (length == 0) {
      if (json)
        out += "\xEF\xBF\xBD";
      else
        AppendHex(out, "\\x%02x", static_cast<unsigned char>(text[at]));
      ++at;
      continue;
    }
    if (code == '\\' || (json && code == '"')) {
      out += '\\';
      out += static_cast<char>(code);
    } else if (code == '\n') {
      out += "\\n";
    } else if (code == '\r') {
      out += "\\r";
    } else if (code == '\t') {
      out += "\\t";
    } else if (Unsafe(code)) {
      AppendHex(out, json || code > 0x7F ? "\\u%04x" : "\\x%02x", static_cast<unsigned>(code));
    } else {
      out.append(text.substr(at, length));
    }
    at += length;
  }
  return out;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  return Escape(text, EscapeStyle::Terminal);
}

std::string JsonString(std::string_view text) {
  return '"' + Escape(text, EscapeStyle::Json) + '"';
}

std::string ShownName(std::string_view componentName) {
  std::string name(componentName);
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}
