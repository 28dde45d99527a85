#pragma once
// Reading a whole file of bounded size, with nothing but a regular file read: a link, a pipe or a
// device in its place gives nothing, and never blocks the reader.
#include <cstddef>
#include <optional>
#include <string>

enum class TOversize { Refuse, Cut };

// The file's bytes; a file larger than limit gives nothing (Refuse) or its first limit bytes (Cut).
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit, TOversize oversize);
