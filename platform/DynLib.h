#pragma once
// Run-time library loading. A bare name is looked for next to the executable first, then along
// the system's library path.
#include <string>

#include "platform/Win32Types.h"

HMODULE LoadLibraryA(LPCSTR fileName);
void* GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);
std::string ExecutableDirectory();  // with no trailing delimiter
