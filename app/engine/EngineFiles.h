#pragma once
// Where the page engine and the toolkit keep their per-user files: the user's cache folder, which
// holds the sandbox's bookkeeping, the graphics driver's shader cache and the media framework's
// registry, and which the web process's sandbox binds writable. For a run of the reader that folder
// is one inside its private temporary folder, removed when the reader ends: nothing stays under
// $HOME, and the sandbox writes nowhere else.
#include <glib.h>

#include <string>

// Points the cache folder at "<temp>folivo-cache" (made 0700), and keeps the graphics driver from
// writing a shader cache that would only be removed again. Call before anything asks GLib for the
// folder, and before the page engine starts.
void KeepEngineFilesIn(const std::string& temp);
// Removes that folder with everything in it; nothing when KeepEngineFilesIn was not called.
void RemoveEngineFiles();
// The environment for a program started for the user (the desktop's browser, its mail program):
// the cache folder and shader cache setting the user had. Free with g_strfreev.
gchar** DesktopEnvironment();
