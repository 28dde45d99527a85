#pragma once
// What the guards keep for one page view; it lives as long as the view.
#include <webkit2/webkit2.h>

#include <string>

struct TPageViewState {
  ~TPageViewState();

  int scriptDialogs = 0;       // asked by the page on view since it was loaded
  bool pageCommitted = false;  // a web process shows a page, which could hold it
  std::string wantedUri;       // the address the user asked for, while the web process is checked
  unsigned probe = 0;          // the check under way, counted so that late answers can be told
  guint deadline = 0;          // the check's timer
};

// The view's state, made on first use.
TPageViewState& PageViewState(WebKitWebView* view);
// The view's state; null when it has none (or none any more, as the view goes away).
TPageViewState* FoundPageViewState(WebKitWebView* view);
