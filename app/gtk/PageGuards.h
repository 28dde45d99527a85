#pragma once
// The page engine's guards against the pages it shows, which come with an issue and are not
// trusted: settings of the engine made before its first web process starts, and hooks on a view.
#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitWebView WebKitWebView;

typedef struct _WebKitMemoryPressureSettings WebKitMemoryPressureSettings;

// The memory limit of a context's web processes, for its "memory-pressure-settings": one that goes
// past it is ended by the engine (a "web-process-terminated" for the memory limit). The caller frees it.
WebKitMemoryPressureSettings* NewWebProcessMemoryLimit();

// Runs the context's web processes in the engine's sandbox, which sees the folder read-only besides
// what the engine itself needs. The folder is made when missing. Where the sandbox cannot start,
// says so once on stderr and leaves it off. Call before the context's first web process; later
// calls leave the context as it is. Returns whether the sandbox is on.
bool ConfineWebProcesses(WebKitWebContext* context, const std::string& folder);

// A view's guards: script print ignored (the reader's own print goes through its print key),
// script dialogs bounded per page load, and a page leaving always allowed.
void GuardPageView(WebKitWebView* view);

// The reader is about to load the address on the user's behalf. A web process that is known not to
// answer is ended now; one that does not answer within about two seconds is ended then and the
// address loaded on a new one. Needs GuardPageView on the view.
void LoadWanted(WebKitWebView* view, const std::string& uri);
