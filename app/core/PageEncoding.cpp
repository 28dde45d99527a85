#include "app/core/PageEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

#include "platform/CodePage.h"

namespace {
// As far as a page's declaration of its encoding is looked for.
constexpr std::size_t DeclarationReach = 8192;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The attributes of the tag whose name ends at "at", up to its ">"; at is left after it.
std::vector<std::pair<std::string, std::string>> TagAttributes(const std::string& text, std::size_t& at) {
  std::vector<std::pair<std::string, std::string>> attributes;
  while (at < text.size()) {
    while (at < text.size() && (IsSpace(text[at]) || text[at] == '/')) ++at;
    if (at >= text.size() || text[at] == '>') break;
    const std::size_t nameStart = at;
    while (at < text.size() && !IsSpace(text[at]) && text[at] != '=' && text[at] != '>' &&
           (text[at] != '/' || at == nameStart))
      ++at;
    std::string name = Lower(text.substr(nameStart, at - nameStart));
    while (at < text.size() && IsSpace(text[at])) ++at;
    std::string value;
    if (at < text.size() && text[at] == '=') {
      ++at;
      while (at < text.size() && IsSpace(text[at])) ++at;
      if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const char quote = text[at++];
        const std::size_t end = std::min(text.find(quote, at), text.size());
        value = text.substr(at, end - at);
        at = end + 1;
      } else {
        const std::size_t valueStart = at;
        while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
        value = text.substr(valueStart, at - valueStart);
      }
    }
    attributes.emplace_back(std::move(name), std::move(value));
  }
  return attributes;
}

// The charset named in a Content-Type value: "text/html; charset=iso-8859-1".
std::string CharsetOfContentType(const std::string& content) {
  const std::string lower = Lower(content);
  std::size_t at = lower.find("charset");
  if (at == std::string::npos) return "";
  at += 7;
  while (at < lower.size() && IsSpace(lower[at])) ++at;
  if (at >= lower.size() || lower[at] != '=') return "";
  ++at;
  while (at < lower.size() && IsSpace(lower[at])) ++at;
  if (at < lower.size() && (lower[at] == '"' || lower[at] == '\'')) ++at;
  const std::size_t start = at;
  while (at < lower.size() && !IsSpace(lower[at]) && lower[at] != ';' && lower[at] != '"' &&
         lower[at] != '\'')
    ++at;
  return lower.substr(start, at - start);
}

std::string Trimmed(const std::string& text) {
  std::size_t start = 0, end = text.size();
  while (start < end && IsSpace(text[start])) ++start;
  while (end > start && IsSpace(text[end - 1])) --end;
  return Lower(text.substr(start, end - start));
}

// The name iconv knows the encoding by, as browsers read the labels pages give: the Latin-1 and
// ASCII labels mean windows-1252, and a page in UTF-16 could not have declared it in ASCII.
std::string ConverterName(const std::string& label) {
  if (label == "iso-8859-1" || label == "iso8859-1" || label == "latin1" || label == "l1" ||
      label == "ascii" || label == "us-ascii" || label == "cp1252" || label == "windows-1252" ||
      label == "x-cp1252")
    return "WINDOWS-1252";
  if (label == "utf8" || label == "unicode-1-1-utf-8" || label.rfind("utf-16", 0) == 0) return "UTF-8";
  if (label == "x-user-defined" || label.empty()) return "";
  for (const char c : label)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.' && c != ':')
      return "";
  return label;
}

// The bytes converted from the encoding; a sequence that does not convert becomes U+FFFD. Nothing
// when iconv does not know the encoding.
std::optional<std::string> Converted(const std::string& bytes, const std::string& encoding) {
  iconv_t converter = iconv_open("UTF-8", encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string result;
  char buffer[4096];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
    result.append(buffer, static_cast<std::size_t>(out - buffer));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // An invalid or cut sequence: one byte of it replaced, the rest read afresh.
    result += "\xEF\xBF\xBD";
    ++in;
    --inLeft;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(converter);
  return result;
}

std::string Utf16AsUtf8(const std::string& bytes, bool littleEndian) {
  return Converted(bytes, littleEndian ? "UTF-16LE" : "UTF-16BE").value_or("");
}
}  // namespace

std::string DeclaredCharset(const std::string& bytes) {
  const std::string head = bytes.substr(0, DeclarationReach);
  for (std::size_t at = 0; (at = head.find('<', at)) != std::string::npos;) {
    if (head.compare(at, 4, "<!--") == 0) {
      const std::size_t end = head.find("-->", at + 4);
      if (end == std::string::npos) break;
      at = end + 3;
      continue;
    }
    if (at + 5 < head.size() && Lower(head.substr(at + 1, 4)) == "meta" &&
        (IsSpace(head[at + 5]) || head[at + 5] == '/')) {
      at += 5;
      std::string charset, httpEquiv, content;
      for (const auto& [name, value] : TagAttributes(head, at)) {
        if (name == "charset" && charset.empty()) charset = Trimmed(value);
        if (name == "http-equiv") httpEquiv = Trimmed(value);
        if (name == "content") content = value;
      }
      if (!charset.empty()) return charset;
      if (httpEquiv == "content-type") {
        const std::string named = CharsetOfContentType(content);
        if (!named.empty()) return named;
      }
      continue;
    }
    ++at;
  }
  return "";
}

std::string PageAsUtf8(const std::string& bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return SanitizeUtf8(bytes.substr(3));
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return Utf16AsUtf8(bytes.substr(2), true);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return Utf16AsUtf8(bytes.substr(2), false);
  const std::string encoding = ConverterName(DeclaredCharset(bytes));
  if (encoding == "UTF-8" || (encoding.empty() && IsValidUtf8(bytes))) return SanitizeUtf8(bytes);
  if (!encoding.empty())
    if (std::optional<std::string> text = Converted(bytes, encoding)) return *text;
  return Converted(bytes, "WINDOWS-1252").value_or(SanitizeUtf8(bytes));
}
