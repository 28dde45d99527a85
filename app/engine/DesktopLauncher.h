#pragma once
// Hands an address to the desktop: its browser for a web address, its mail program for a mail
// address. The desktop's launcher, xdg-open, decides which program opens it.
#include <string>

void HandToDesktop(const std::string& uri);
