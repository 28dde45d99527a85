#pragma once
// A view's guards against the pages it shows, which come with an issue and are not trusted: script
// print ignored (the reader's own print goes through its print key), script dialogs bounded per
// page load, and a page leaving always allowed.
typedef struct _WebKitWebView WebKitWebView;

void GuardPageView(WebKitWebView* view);
