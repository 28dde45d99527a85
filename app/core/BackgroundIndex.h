#pragma once
// The search index of the issue on screen, built on a thread of its own at the lowest priority, so
// the pages are shown first. A new issue, or Cancel, stops the build under way at its next
// page without waiting for it; the object may be destroyed at any time (it then waits for the
// builds it stopped to end their page). Called from one thread, the window's.
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/core/SearchIndex.h"

class TBackgroundIndex {
 public:
  TBackgroundIndex() = default;
  ~TBackgroundIndex();
  TBackgroundIndex(const TBackgroundIndex&) = delete;
  TBackgroundIndex& operator=(const TBackgroundIndex&) = delete;

  // Stops any build under way and starts one for the issue of that serial (IssueNames().Serial()):
  // its pages, relative to folder, in the order.
  void Start(unsigned serial, const std::string& folder, std::vector<std::string> pages);
  // Stops the build under way, and forgets the index.
  void Cancel();

  struct TProgress {
    std::size_t read = 0;
    std::size_t total = 0;
    bool ready = false;
  };
  // How far the index of that issue is; nothing read for an issue the index is not for.
  TProgress Progress(unsigned serial) const;
  // The index of that issue once built, else nullptr.
  std::shared_ptr<const TSearchIndex> Index(unsigned serial) const;

 private:
  struct TBuild {
    unsigned serial = 0;
    std::size_t total = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> ended{false};
    std::atomic<std::size_t> read{0};
    mutable std::mutex lock;  // guards index
    std::shared_ptr<const TSearchIndex> index;
  };
  static void Build(const std::shared_ptr<TBuild>& build, const std::string& folder,
                    const std::vector<std::string>& pages);
  // Joins the threads whose build has ended.
  void JoinEnded();

  std::shared_ptr<TBuild> FCurrent;
  std::vector<std::pair<std::thread, std::shared_ptr<TBuild>>> FThreads;
};
