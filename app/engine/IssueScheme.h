#pragma once
// The reader's scheme on the engine: "korvex://issueN/path" is the file of the working folder that
// the path names, resolved as the issue's names are (IssueNames), for the issue open now only.
// Every response carries the content policy: a worker, which takes its policy from the response
// that delivered its script and not from its page, is held by it too.
#include <webkit2/webkit2.h>

#include <string>

void RegisterIssueScheme(WebKitWebContext* context);

// What every page, frame and worker of an issue may load: the reader's scheme only (and data: or
// blob: of their own making), so nothing from the network and no file outside the working folder;
// forms go nowhere else either.
std::string IssueContentPolicy();
