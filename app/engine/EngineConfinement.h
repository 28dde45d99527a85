#pragma once
// Settings of the page engine against the pages it shows, which come with an issue and are not
// trusted; made before a context's first web process starts.
#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitMemoryPressureSettings WebKitMemoryPressureSettings;

// The memory limit of a context's web processes, for its "memory-pressure-settings": one that goes
// past it is ended by the engine (a "web-process-terminated" for the memory limit). The caller frees it.
WebKitMemoryPressureSettings* NewWebProcessMemoryLimit();

// Runs the context's web processes in the engine's sandbox, which sees the folder read-only besides
// what the engine itself needs. The folder is made when missing. Where the sandbox cannot start,
// says so once on stderr and leaves it off. Call before the context's first web process; later
// calls leave the context as it is. Returns whether the sandbox is on.
bool ConfineWebProcesses(WebKitWebContext* context, const std::string& folder);
