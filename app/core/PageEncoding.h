#pragma once
// A page of an issue as UTF-8, whatever it was written in: a byte order mark, else the charset its
// <meta> declares near its top, else UTF-8 when the bytes are valid UTF-8, else windows-1252.
#include <string>

std::string PageAsUtf8(const std::string& bytes);

// The encoding the page's <meta charset> or <meta http-equiv="Content-Type" content="...;
// charset=..."> names in its first bytes, lower case, "" when none. Markup in comments is not read.
std::string DeclaredCharset(const std::string& bytes);
