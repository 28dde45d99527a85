#pragma once
// The reader's scheme on the engine: "korvex://issueN/path" is the file of the working folder that
// the path names, resolved as the issue's names are (IssueNames), for the issue open now only.
#include <webkit2/webkit2.h>

void RegisterIssueScheme(WebKitWebContext* context);
