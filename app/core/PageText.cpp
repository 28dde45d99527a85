#include "app/core/PageText.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/core/HtmlEntities.h"
#include "app/core/PageEncoding.h"

namespace {
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Elements that flow within a line: a word may run across them, as in "<b>P</b>erché".
bool FlowsInLine(std::string_view tag) {
  static constexpr std::string_view inLine[] = {
      "a",    "abbr",   "acronym", "b",   "bdi", "bdo",  "big",  "blink", "cite", "code", "data", "del",
      "dfn",  "em",     "font",    "i",   "ins", "kbd",  "mark", "nobr",  "q",    "s",    "samp", "small",
      "span", "strike", "strong",  "sub", "sup", "time", "tt",   "u",     "var",  "wbr"};
  return std::find(std::begin(inLine), std::end(inLine), tag) != std::end(inLine);
}

// Elements whose content is no markup, read whole up to their end tag: the title, a text area's
// text, and what is never shown as text (scripts, styles, what a browser with scripts and frames
// leaves out).
bool HoldsNoMarkup(std::string_view tag) {
  return tag == "script" || tag == "style" || tag == "noscript" || tag == "template" || tag == "iframe" ||
         tag == "noframes" || tag == "noembed" || tag == "title" || tag == "textarea";
}

class TTextCollector {
 public:
  explicit TTextCollector(std::string& out) : FOut(out) {}
  void Space() { FSpace = !FOut.empty(); }
  void Add(std::string_view text) {
    for (const char c : text) {
      // Control characters too: the text goes into pages and passages as plain words.
      if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) {
        Space();
        continue;
      }
      if (FSpace) FOut += ' ';
      FSpace = false;
      FOut += c;
    }
  }

 private:
  std::string& FOut;
  bool FSpace = false;
};

// The text with its character references decoded.
std::string DecodedText(std::string_view text) {
  std::string decoded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t next = std::min(text.find('&', at), text.size());
    decoded.append(text.substr(at, next - at));
    if (next == text.size()) break;
    const std::size_t taken = DecodeCharacterReference(text, next, decoded);
    if (taken == 0) decoded += '&';
    at = next + std::max<std::size_t>(taken, 1);
  }
  return decoded;
}

// Past the ">" that ends the tag whose name ends at "at"; a ">" inside a quoted value does not end it.
std::size_t TagEnd(std::string_view html, std::size_t at) {
  while (at < html.size() && html[at] != '>') {
    if (html[at] == '=') {
      ++at;
      while (at < html.size() && IsSpace(html[at])) ++at;
      if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
        const std::size_t close = html.find(html[at], at + 1);
        if (close == std::string_view::npos) return html.size();
        at = close + 1;
      }
      continue;
    }
    ++at;
  }
  return std::min(at + 1, html.size());
}

std::string LowerName(std::string_view html, std::size_t& at) {
  std::string name;
  while (at < html.size() && (std::isalnum(static_cast<unsigned char>(html[at])) || html[at] == '-' ||
                              html[at] == ':' || html[at] == '_'))
    name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[at++])));
  return name;
}

// Where "</tag" followed by a space, "/" or ">" starts, case ignored; the end of the text if nowhere.
std::size_t EndTagAt(std::string_view html, std::size_t at, const std::string& tag) {
  for (; (at = html.find("</", at)) != std::string_view::npos; at += 2) {
    std::size_t nameEnd = at + 2;
    if (LowerName(html, nameEnd) != tag) continue;
    if (nameEnd >= html.size() || IsSpace(html[nameEnd]) || html[nameEnd] == '/' || html[nameEnd] == '>')
      return at;
  }
  return html.size();
}
}  // namespace

TPageText PageText(const std::string& pageBytes) {
  const std::string page = PageAsUtf8(pageBytes);
  const std::string_view html = page;
  TPageText result;
  TTextCollector text(result.text);
  bool titleSeen = false;
  for (std::size_t at = 0; at < html.size();) {
    const std::size_t next = std::min(html.find_first_of("<&", at), html.size());
    text.Add(html.substr(at, next - at));
    at = next;
    if (at == html.size()) break;
    if (html[at] == '&') {
      std::string decoded;
      const std::size_t taken = DecodeCharacterReference(html, at, decoded);
      text.Add(taken ? std::string_view(decoded) : "&");
      at += std::max<std::size_t>(taken, 1);
    } else if (html.compare(at, 4, "<!--") == 0) {
      const std::size_t end = html.compare(at, 5, "<!-->") == 0 ? at + 2 : html.find("-->", at + 4);
      at = end == std::string_view::npos ? html.size() : end + 3;
    } else if (at + 1 < html.size() && (html[at + 1] == '!' || html[at + 1] == '?')) {
      at = TagEnd(html, at + 2);
      text.Space();
    } else if (at + 2 < html.size() && html[at + 1] == '/' && IsLetter(html[at + 2])) {
      std::size_t nameEnd = at + 2;
      const std::string tag = LowerName(html, nameEnd);
      at = TagEnd(html, nameEnd);
      if (!FlowsInLine(tag)) text.Space();
    } else if (at + 1 < html.size() && IsLetter(html[at + 1])) {
      std::size_t nameEnd = at + 1;
      const std::string tag = LowerName(html, nameEnd);
      at = TagEnd(html, nameEnd);
      if (!FlowsInLine(tag)) text.Space();
      if (!HoldsNoMarkup(tag)) continue;
      const std::size_t end = EndTagAt(html, at, tag);
      if (tag == "textarea") {
        text.Add(DecodedText(html.substr(at, end - at)));
      } else if (tag == "title" && !titleSeen) {
        titleSeen = true;
        TTextCollector(result.title).Add(DecodedText(html.substr(at, end - at)));
      }
      at = end < html.size() ? TagEnd(html, end + 2) : end;
    } else {
      text.Add("<");
      ++at;
    }
  }
  return result;
}
