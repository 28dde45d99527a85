#pragma once
// Shell commands for tests that make or check archives with other tools.
#include <string>

// text in single quotes for the shell.
std::string Quoted(const std::string& text);
// Exit status of a shell command; -1 when it did not exit normally.
int Shell(const std::string& command);
