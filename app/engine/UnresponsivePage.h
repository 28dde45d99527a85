#pragma once
// A page that holds its web process (a script loop, a dialog) does not keep the user from going on.
#include <string>

typedef struct _WebKitWebView WebKitWebView;

// The reader is about to load the address on the user's behalf. A web process that is known not to
// answer is ended now; one that does not answer within about two seconds is ended then and the
// address loaded on a new one. Needs GuardPageView on the view.
void LoadWanted(WebKitWebView* view, const std::string& uri);
