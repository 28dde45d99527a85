#pragma once
// Character references of HTML text: &name; for the named characters of HTML 4 (the Latin-1 set,
// the symbols and Greek letters, the typographic ones) and &apos;, &#decimal; and &#xhex;.
#include <cstddef>
#include <string>
#include <string_view>

// Decodes the reference that starts at text[at] (an "&") onto out, as UTF-8, and returns how many
// bytes it took; 0, with nothing appended, when no reference starts there. As browsers read them: a
// Latin-1 name may lack its ";", a number that is no character gives U+FFFD, &#128;..&#159; are
// read as windows-1252.
std::size_t DecodeCharacterReference(std::string_view text, std::size_t at, std::string& out);

void AppendUtf8(char32_t code, std::string& text);
