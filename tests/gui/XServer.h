#pragma once
// A virtual X server of a test's own, on a display number the server picks itself.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <string>

namespace gui {

// Starts Xvfb with one screen of the given size; display is "" unless it said, within 30 seconds,
// that it takes clients. Returns the server's process, -1 when none started.
inline pid_t StartXServer(std::string& display, const std::string& screen = "1024x768x24") {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  std::string words[] = {
      "/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp", "-screen", "0", screen};
  char* argv[std::size(words) + 1] = {};
  for (std::size_t i = 0; i < std::size(words); ++i) argv[i] = words[i].data();
  char* envp[] = {nullptr};
  // Its output goes nowhere: a server left running by a failed test never holds the test's pipes.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t server = -1;
  if (posix_spawn(&server, argv[0], &actions, nullptr, argv, envp) != 0) server = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  std::string number;
  pollfd said{ready[0], POLLIN, 0};
  char c = 0;
  while (server > 0 && poll(&said, 1, 30000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  display = c == '\n' && !number.empty() ? ":" + number : "";
  return server;
}

}  // namespace gui
