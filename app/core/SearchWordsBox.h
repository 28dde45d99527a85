#pragma once
// The box that asks for the words to look for across the issue.
#include <optional>
#include <string>

// The words typed, the last ones offered again; nothing when the box was cancelled.
std::optional<std::string> AskSearchWords(const std::string& last);
