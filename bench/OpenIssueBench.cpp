// Times the reader's open-issue step on one issue through the real window, WebKit and the unzip
// library; the open dialog answers the issue at once. Prints one line:
//   step SECONDS shown SECONDS
// "step" is Apri1Click from the chosen file to its return (directory read, every file unpacked,
// the index asked for); "shown" runs on until WebKit has loaded the index.
//   open-issue-bench ISSUE LIBRARY_DIR       (under a display, e.g. xvfb-run)
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/core/WorkingFolder.h"
#include "app/engine/PageAddress.h"
#include "app/gtk/MainFrame.h"
#include "classlib/Application.h"
#include "classlib/wx/WxBackend.h"

namespace {
using Clock = std::chrono::steady_clock;

class TChosenIssue : public TWxBackend {
 public:
  explicit TChosenIssue(std::string issue) : FIssue(std::move(issue)) {}
  bool ExecuteOpenDialog(TOpenDialog& dialog) override {
    dialog.fileName = FIssue;
    return true;
  }

 private:
  std::string FIssue;
};

bool PumpUntil(wxEventLoopBase& loop, const std::function<bool()>& done, int seconds) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() > end) return false;
    while (loop.Pending()) loop.Dispatch();
    wxTheApp->ProcessIdle();
    usleep(1000);
  }
  return true;
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: open-issue-bench ISSUE LIBRARY_DIR\n");
    return 2;
  }
  const char* base = std::getenv("TMPDIR");
  std::string temp = std::string(base && *base ? base : "/tmp") + "/folivo-bench-XXXXXX";
  if (mkdtemp(temp.data()) == nullptr) return 1;
  setenv("XDG_RUNTIME_DIR", temp.c_str(), 1);
  const std::string issue = std::filesystem::absolute(argv[1]).string();
  TChosenIssue backend(issue);
  SetBackend(&backend);
  int status = 1;
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  wxApp::SetInstance(new wxApp);
  if (InitializeMainUnit() && wxEntryStart(wxArgc, wxArgv) && wxTheApp->CallOnInit()) {
    wxEventLoop loop;
    wxEventLoopBase::SetActive(&loop);
    wxInitAllImageHandlers();
    Application.Title = "Korvex Folivo";
    auto* frame = new TMainFrame;
    frame->Form().ZipComponent1().SetDLLDirectory(argv[2]);
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    std::string loaded;
    frame->Browser().Page().WatchLoads([&loaded](const std::string& uri) { loaded = ReportedAddress(uri); });
    const std::string start = WorkingFile("hhhome.htm"), index = WorkingFile("index.htm");
    const auto startShown = [&] { return loaded == start; };
    const auto indexShown = [&] { return loaded == index; };
    if (PumpUntil(loop, startShown, 60)) {
      const Clock::time_point chosen = Clock::now();
      frame->Form().Apri1Click();
      const double step = Since(chosen);
      if (PumpUntil(loop, indexShown, 120)) {
        std::printf("step %.3f shown %.3f\n", step, Since(chosen));
        status = 0;
      }
    }
    frame->Close(true);
    const auto allClosed = [] { return wxTopLevelWindows.empty(); };
    PumpUntil(loop, allClosed, 30);
    wxEventLoopBase::SetActive(nullptr);
  }
  wxEntryCleanup();
  FinalizeMainUnit();
  SetBackend(nullptr);
  std::filesystem::remove_all(temp);
  return status;
}
