#pragma once
// Addresses between the shell, which speaks in plain paths, and the page view, which speaks in the
// engine's URIs.
#include <string>

// The URI the view loads for an address of the shell: a file of the working folder (plain path or
// file: URI) through the reader's scheme; any other plain path as a file:// URI; anything else as
// given.
std::string LoadableAddress(const std::string& address);
// The address the shell sees for a URI of the view: the plain path for a file of the working
// folder or a local file URI (the file: URI when a query or fragment follows), else the URI itself.
std::string ReportedAddress(const std::string& uri);
