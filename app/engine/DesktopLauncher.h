#pragma once
// Hands an address to the desktop: its browser for a web address, its mail program for a mail
// address. The desktop's launcher, xdg-open, decides which program opens it.
#include <functional>
#include <string>

// Called on the main loop, after the hand-off, with the address when the launcher could not be
// started or said that no program opened it.
using TNotOpened = std::function<void(const std::string& uri)>;

void HandToDesktop(const std::string& uri, TNotOpened notOpened);
