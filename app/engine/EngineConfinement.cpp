#include "app/engine/EngineConfinement.h"

#include <glib.h>
#include <sys/stat.h>
#include <webkit2/webkit2.h>

#include <cstdio>

namespace {
// A page of a magazine needs a small part of this; a script that fills memory is ended at it.
constexpr guint WebProcessMemoryLimitMB = 1024;
constexpr double WebProcessKillFraction = 1.0;
constexpr double WebProcessPollSeconds = 1.0;
}  // namespace

WebKitMemoryPressureSettings* NewWebProcessMemoryLimit() {
  WebKitMemoryPressureSettings* settings = webkit_memory_pressure_settings_new();
  webkit_memory_pressure_settings_set_memory_limit(settings, WebProcessMemoryLimitMB);
  webkit_memory_pressure_settings_set_kill_threshold(settings, WebProcessKillFraction);
  webkit_memory_pressure_settings_set_poll_interval(settings, WebProcessPollSeconds);
  return settings;
}

namespace {
// The engine starts its sandbox with bubblewrap; it needs user namespaces (or root), which some
// machines and containers do not give.
bool SandboxCanStart() {
  const char* probe[] = {"bwrap", "--unshare-all", "--die-with-parent", "--ro-bind", "/", "/",
                         "true",  nullptr};
  gint status = 1;
  const auto flags =
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
  return g_spawn_sync(nullptr, const_cast<char**>(probe), nullptr, flags, nullptr, nullptr, nullptr, nullptr,
                      &status, nullptr) &&
         g_spawn_check_wait_status(status, nullptr);
}
}  // namespace

bool ConfineWebProcesses(WebKitWebContext* context, const std::string& folder) {
  static const bool canStart = [] {
    const bool can = SandboxCanStart();
    if (!can)
      std::fputs(
          "folivo: the page engine's sandbox cannot start here (no user namespaces or no bubblewrap); "
          "pages are shown without it\n",
          stderr);
    return can;
  }();
  // Every web process that starts binds the folder: it must be there, whichever window came first.
  mkdir(folder.c_str(), 0700);
  if (!canStart || webkit_web_context_get_sandbox_enabled(context)) return canStart;
  webkit_web_context_set_sandbox_enabled(context, TRUE);
  webkit_web_context_add_path_to_sandbox(context, folder.c_str(), TRUE);
  return true;
}
