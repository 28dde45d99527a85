#pragma once
// Where a page of an issue may go. Navigations of pages and frames load the reader's scheme (and
// what stays inside the page: about:, data:, javascript:); a web or mail link the user activated
// goes to the desktop, once (LinkActivations.h); everything else is dropped before the shell hears
// of it, so the history never records it. A page's request for a new window opens a page of the
// issue in this view; no second view is ever made. Nothing is downloaded.
#include <webkit2/webkit2.h>

// Connects the rules to a new view, before any other handler of its navigation signals.
void ConnectPageDoors(WebKitWebView* view);
