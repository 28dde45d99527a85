#pragma once
// The page engine as the reader runs it. Every page view gets a context of its own, whose website
// data is never written to disk, and reads the working folder only through the reader's scheme.
#include <webkit2/webkit2.h>

// A new context: ephemeral website data, the issue scheme served from the working folder, and the
// cache model that reads every file from disk again (issues replace each other's files).
// Everything that must be set before the context's first web process starts is set here.
WebKitWebContext* NewPageEngineContext();
// A new view on a new such context, with the content policy that only its constructor can set and
// the reader's rules for navigation connected before any other handler. The caller owns it (the
// reference is not floating).
WebKitWebView* NewReaderPageView();
