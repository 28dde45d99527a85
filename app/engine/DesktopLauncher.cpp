#include "app/engine/DesktopLauncher.h"

#include <glib.h>
#include <sys/wait.h>

#include "app/engine/EngineFiles.h"

namespace {
struct THandOff {
  std::string uri;
  TNotOpened notOpened;
};

void TellNotOpened(THandOff* handOff) {
  if (handOff->notOpened) handOff->notOpened(handOff->uri);
  delete handOff;
}
}  // namespace

void HandToDesktop(const std::string& uri, TNotOpened notOpened) {
  // The address is one argument of its own: no shell ever reads it.
  const char* argv[] = {"xdg-open", uri.c_str(), nullptr};
  const auto flags =
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_DO_NOT_REAP_CHILD);
  gchar** environment = DesktopEnvironment();
  GPid launcher = 0;
  const bool started = g_spawn_async(nullptr, const_cast<char**>(argv), environment, flags, nullptr, nullptr,
                                     &launcher, nullptr);
  g_strfreev(environment);
  auto* handOff = new THandOff{uri, std::move(notOpened)};
  if (!started) {
    // Told once the engine's signal that asked for the hand-off is over.
    g_idle_add(
        [](gpointer data) -> gboolean {
          TellNotOpened(static_cast<THandOff*>(data));
          return G_SOURCE_REMOVE;
        },
        handOff);
    return;
  }
  g_child_watch_add(
      launcher,
      [](GPid pid, gint status, gpointer data) {
        g_spawn_close_pid(pid);
        auto* ended = static_cast<THandOff*>(data);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
          delete ended;
          return;
        }
        TellNotOpened(ended);
      },
      handOff);
}
