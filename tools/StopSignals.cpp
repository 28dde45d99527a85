#include "tools/StopSignals.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int Watched[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t NotedSignal = 0;

void Note(int signal) {
  NotedSignal = signal;
}

}  // namespace

TStopSignals::TStopSignals() {
  static_assert(std::size(Watched) == WatchedCount);
  NotedSignal = 0;
  for (int i = 0; i < WatchedCount; ++i) {
    if (sigaction(Watched[i], nullptr, &FPrevious[i]) != 0 || FPrevious[i].sa_handler == SIG_IGN) continue;
    struct sigaction noting = {};
    noting.sa_handler = Note;
    sigemptyset(&noting.sa_mask);
    // No SA_RESTART: a terminal prompt waiting for a line gives up and the run stops.
    noting.sa_flags = SA_RESETHAND;
    FInstalled[i] = sigaction(Watched[i], &noting, nullptr) == 0;
  }
}

TStopSignals::~TStopSignals() {
  Restore();
}

int TStopSignals::Received() {
  return NotedSignal;
}

void TStopSignals::Restore() {
  for (int i = 0; i < WatchedCount; ++i)
    if (FInstalled[i]) sigaction(Watched[i], &FPrevious[i], nullptr);
  std::fill(std::begin(FInstalled), std::end(FInstalled), false);
}

void TStopSignals::EndByReceived() {
  Restore();
  const int signal = NotedSignal;
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
