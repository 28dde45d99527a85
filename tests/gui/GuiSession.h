#pragma once
// Shared by the GUI tests: wx started on the display that Xvfb provides, with an event loop the
// test pumps itself (every wait bounded by a deadline), and a private temporary folder for the run.
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/TempFiles.h"

namespace gui {

inline wxEventLoopBase* loop = nullptr;

// Dispatches events until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 20000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    while (loop->Pending()) loop->Dispatch();
    wxTheApp->ProcessPendingEvents();  // CallAfter and queued events, as the program's loop runs them
    wxTheApp->ProcessIdle();
    usleep(10000);
  }
  return true;
}

inline void Pump(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

// Makes a fresh private folder and points XDG_RUNTIME_DIR at it, so the program's temporary path
// is that folder. Call it before wx starts.
inline std::unique_ptr<TTempFolder> MakePrivateTemp() {
  auto folder = std::make_unique<TTempFolder>();
  setenv("XDG_RUNTIME_DIR", folder->Path().c_str(), 1);
  return folder;
}

inline bool StartWx(const char* programName) {
  int argc = 1;
  std::string name = programName;
  char* argv[] = {name.data(), nullptr};
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return false;
  loop = new wxEventLoop;
  wxEventLoopBase::SetActive(loop);
  wxInitAllImageHandlers();
  return true;
}

inline void StopWx() {
  wxEventLoopBase::SetActive(nullptr);
  delete loop;
  loop = nullptr;
  wxEntryCleanup();
}

}  // namespace gui
