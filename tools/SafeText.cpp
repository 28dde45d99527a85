// One escaping routine, in a form for the terminal and one for JSON.
#include "tools/SafeText.h"

#include <cstdio>

namespace {

enum class EscapeStyle { Terminal, Json };

bool Continuation(std::string_view text, std::size_t at, unsigned char low = 0x80,
                  unsigned char high = 0xBF) {
  if (at >= text.size()) return false;
  const auto byte = static_cast<unsigned char>(text[at]);
  return byte >= low && byte <= high;
}

// Length of the well-formed UTF-8 sequence at text[at] (no overlong forms, no surrogates, nothing
// above U+10FFFF) and its code point; 0 when the byte there starts none.
std::size_t DecodeAt(std::string_view text, std::size_t at, char32_t& code) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (!Continuation(text, at + 1, low, high)) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if (i > 1 && !Continuation(text, at + i)) return 0;
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
  }
  return length;
}

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
    const std::size_t length = DecodeAt(text, at, code);
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
