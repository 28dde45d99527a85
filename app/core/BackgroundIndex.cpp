#include "app/core/BackgroundIndex.h"

#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

TBackgroundIndex::~TBackgroundIndex() {
  Cancel();
}

void TBackgroundIndex::Cancel() {
  FCancelled = true;
  if (FThread.joinable()) FThread.join();
  const std::lock_guard<std::mutex> lock(FLock);
  FSerial = 0;
  FTotal = 0;
  FIndex.reset();
}

void TBackgroundIndex::Start(unsigned serial, const std::string& folder, std::vector<std::string> pages) {
  Cancel();
  {
    const std::lock_guard<std::mutex> lock(FLock);
    FSerial = serial;
    FTotal = pages.size();
  }
  FRead = 0;
  FCancelled = false;
  FThread = std::thread(&TBackgroundIndex::Build, this, serial, folder, std::move(pages));
}

void TBackgroundIndex::Build(unsigned serial, std::string folder, std::vector<std::string> pages) {
  // Only what no other thread of the machine wants: the page engine and the window come first.
  const sched_param idle{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
  constexpr int ThisThread = 0, WhoProcess = 1, IdleClass = 3 << 13;
  syscall(SYS_ioprio_set, WhoProcess, ThisThread, IdleClass);
  std::optional<TSearchIndex> index = BuildSearchIndex(folder, pages, FCancelled, &FRead);
  if (!index) return;
  const std::lock_guard<std::mutex> lock(FLock);
  if (FSerial == serial) FIndex = std::make_shared<const TSearchIndex>(std::move(*index));
}

TBackgroundIndex::TProgress TBackgroundIndex::Progress(unsigned serial) const {
  const std::lock_guard<std::mutex> lock(FLock);
  if (serial != FSerial) return {};
  return {FRead, FTotal, FIndex != nullptr};
}

std::shared_ptr<const TSearchIndex> TBackgroundIndex::Index(unsigned serial) const {
  const std::lock_guard<std::mutex> lock(FLock);
  return serial == FSerial ? FIndex : nullptr;
}
