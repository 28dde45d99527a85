#pragma once
// SIGINT, SIGTERM and SIGHUP while the tool works: the first one is only noted, so that the tool
// can stop cleanly (the library removes the file it was writing) and then end by that signal. The
// handler is reset on delivery: a second signal ends the tool at once. Signals that were ignored
// when the tool started stay ignored.
#include <csignal>

class TStopSignals {
 public:
  TStopSignals();
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // The signal noted since construction; 0 when none.
  static int Received();
  // Puts the previous handlers back and, when a signal was noted, ends the process by it with
  // its default action; returns only when none was noted.
  void EndByReceived();

 private:
  void Restore();

  static constexpr int WatchedCount = 3;
  struct sigaction FPrevious[WatchedCount] = {};
  bool FInstalled[WatchedCount] = {};
};
