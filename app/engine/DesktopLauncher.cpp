#include "app/engine/DesktopLauncher.h"

#include <glib.h>

#include "app/engine/EngineFiles.h"

void HandToDesktop(const std::string& uri) {
  // The address is one argument of its own: no shell ever reads it.
  const char* argv[] = {"xdg-open", uri.c_str(), nullptr};
  const auto flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL);
  gchar** environment = DesktopEnvironment();
  g_spawn_async(nullptr, const_cast<char**>(argv), environment, flags, nullptr, nullptr, nullptr, nullptr);
  g_strfreev(environment);
}
