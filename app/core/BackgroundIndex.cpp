#include "app/core/BackgroundIndex.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

TBackgroundIndex::~TBackgroundIndex() {
  for (auto& [thread, build] : FThreads) {
    build->cancelled = true;
    thread.join();
  }
}

void TBackgroundIndex::Cancel() {
  if (FCurrent) FCurrent->cancelled = true;
  FCurrent.reset();
  JoinEnded();
}

void TBackgroundIndex::JoinEnded() {
  std::erase_if(FThreads, [](auto& running) {
    if (!running.second->ended) return false;
    running.first.join();
    return true;
  });
}

void TBackgroundIndex::Start(unsigned serial, const std::string& folder, std::vector<std::string> pages) {
  Cancel();
  FCurrent = std::make_shared<TBuild>();
  FCurrent->serial = serial;
  FCurrent->total = pages.size();
  FThreads.emplace_back(std::thread(&TBackgroundIndex::Build, FCurrent, folder, std::move(pages)), FCurrent);
}

void TBackgroundIndex::Build(const std::shared_ptr<TBuild>& build, const std::string& folder,
                             const std::vector<std::string>& pages) {
  // The lowest priority a user may give: the page engine and the window come first. Not idle
  // scheduling, under which a busy machine could keep the build from ever seeing it was stopped.
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  setpriority(PRIO_PROCESS, thread, 19);
  constexpr int ThisThread = 0, WhoProcess = 1, IdleClass = 3 << 13;
  syscall(SYS_ioprio_set, WhoProcess, ThisThread, IdleClass);
  std::optional<TSearchIndex> index = BuildSearchIndex(folder, pages, build->cancelled, &build->read);
  if (index) {
    const std::lock_guard<std::mutex> lock(build->lock);
    build->index = std::make_shared<const TSearchIndex>(std::move(*index));
  }
  build->ended = true;
}

TBackgroundIndex::TProgress TBackgroundIndex::Progress(unsigned serial) const {
  if (!FCurrent || FCurrent->serial != serial) return {};
  const std::lock_guard<std::mutex> lock(FCurrent->lock);
  return {FCurrent->read, FCurrent->total, FCurrent->index != nullptr};
}

std::shared_ptr<const TSearchIndex> TBackgroundIndex::Index(unsigned serial) const {
  if (!FCurrent || FCurrent->serial != serial) return nullptr;
  const std::lock_guard<std::mutex> lock(FCurrent->lock);
  return FCurrent->index;
}
