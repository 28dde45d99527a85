#pragma once
// What the main window uses of its browser: one operation and one event. Addresses are UTF-8;
// the toolkit's wrapper turns them into wide strings at its boundary.
#include <functional>
#include <string>

class TBrowserControl {
 public:
  virtual ~TBrowserControl() = default;
  // Starts loading the address; a plain file path is accepted.
  virtual void Navigate(const std::string& url) = 0;
  // Fired before every visit: each page the control starts to load, and each link the user follows,
  // also in a frame, but not the documents that load as parts of a page; local files arrive as
  // plain paths.
  std::function<void(const std::string& url)> OnBeforeNavigate2;
};
