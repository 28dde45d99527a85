#pragma once
// The unzip library's process-wide handle and entry points, shared by every TZipComponent.
#include <exception>

#include "platform/Win32Types.h"
#include "zip/KvxLib.h"

// The library's file; the program's texts call it kvx.DLL.
extern const char* const UnzipLibraryFileName;  // "libkvx.so"

HMODULE UnzipLibraryHandle();                    // null while not loaded
KvxUnzipExecFunction UnzipExecEntry();           // null when not loaded or missing
GetKvxUnzipVersionFunction UnzipVersionEntry();  // null when not loaded or missing

// First library version with the 148-byte command record, and with the password request count.
constexpr int UnzipNewLayoutVersion = 152;
constexpr int UnzipPasswordCountVersion = 160;

// An exception raised inside UnzipCallback never unwinds through the library: the callback keeps
// it here and answers -1, and the extraction raises it again once KvxUnzipExec has returned.
std::exception_ptr TakeUnzipCallbackError();  // returns the kept exception and clears it
void KeepUnzipCallbackError(std::exception_ptr error);
