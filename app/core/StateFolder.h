#pragma once
// The reader's state between runs: a few small files in $XDG_STATE_HOME/folivo/ ($HOME/.local/state
// when XDG_STATE_HOME is not an absolute path). The files are read as untrusted: whoever reads one
// checks every line.
#include <cstddef>
#include <optional>
#include <string>

// The state folder's path, "" when there is none: no home folder, or a path inside the working
// folder, which holds only the issue on screen.
std::string StateFolder();

// The file's bytes, or nothing when it is missing, is no regular file (a link, a pipe, a folder),
// is larger than limit or cannot be read, or when the folder is not a folder of the user's own.
std::optional<std::string> ReadStateFile(const std::string& folder, const std::string& name,
                                         std::size_t limit);

// Writes the file whole: into a new temporary file in the folder (mode 0600), then renamed over
// the old one, so a crash leaves the old file or the new one, never half of one. The folder is
// made (0700) when missing; one that is a link or not the user's own is refused. False on failure.
bool WriteStateFile(const std::string& folder, const std::string& name, const std::string& text);

// Checks shared by the state files' readers.
// A text with no control character (C0, DEL, C1) and no invalid UTF-8.
bool IsPlainStateText(const std::string& text);
// A path relative to its folder: plain text, not empty, no leading "/", no "." or ".." part, no empty
// part, "/" between folders.
bool IsSafeRelativePath(const std::string& path);
