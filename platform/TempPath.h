#pragma once
// The user's private temporary folder, the one place every part of the program puts its
// temporary files.
#include <string>

// The private folder with a trailing "/": $XDG_RUNTIME_DIR when it is an absolute path to a folder
// of the user's with no group or other access, else PrivateFolderIn(${TMPDIR:-/tmp}). "" when no
// private folder can be had.
std::string PrivateTempFolder();

// "<base>/folivo-<uid>/", created 0700 when missing. "" unless it is a real folder (not a link)
// of the user's that no one else can write into; a wider mode of our own folder is set to 0700.
std::string PrivateFolderIn(const std::string& base);
