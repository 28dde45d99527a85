// The reader's entry: `folivo [ISSUE]`. A start while a reader runs in this session hands the
// issue to that reader and ends.
#include <gtk/gtk.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/image.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/core/CommandLine.h"
#include "app/core/ReaderInstance.h"
#include "app/core/WorkingFolder.h"
#include "app/engine/EngineFiles.h"
#include "app/gtk/EndSignals.h"
#include "app/gtk/IssueHandover.h"
#include "app/gtk/MainFrame.h"
#include "app/gtk/Unit1.h"
#include "classlib/Application.h"
#include "classlib/Backend.h"
#include "classlib/Exceptions.h"
#include "classlib/wx/WxBackend.h"

namespace {
TReaderInstance* Instance = nullptr;  // held by main for the whole run
std::string IssueArgument;

// A check of the toolkit's own that failed is told on stderr, never in a box of the toolkit's
// whose buttons could end the reader.
void LogToolkitCheck(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
  std::fprintf(stderr, "folivo: toolkit check failed in %s (%s:%d): %s %s\n", function.utf8_str().data(),
               file.utf8_str().data(), line, condition.utf8_str().data(), message.utf8_str().data());
}

// The private folder the reader made for itself, as opposed to the session's runtime folder.
bool ReaderMadeFolder(const std::string& temp) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return !runtime || (temp != runtime && temp != std::string(runtime) + "/");
}
}  // namespace

class TFolivoApp : public wxApp {
 public:
  bool OnInit() override {
    SetBackend(&FBackend);
    CatchEndSignals();
    const bool privateTemp = InitializeMainUnit();
    Application.Title = "Korvex Folivo";
    if (!privateTemp) {
      Application.ShowException(Exception("No private temporary folder can be had"));
      return false;
    }
    g_object_set(gtk_settings_get_default(), "gtk-recent-files-enabled", FALSE, nullptr);
    wxInitAllImageHandlers();
    SetAppDisplayName(Application.Title);
    auto* mainForm = new TMainFrame;
    SetTopWindow(mainForm);
    mainForm->Show();
    auto* informazioni = new TInformazioni(mainForm);
    mainForm->SetAboutBox(informazioni);
    if (Instance) FHandover = std::make_unique<TIssueHandover>(*mainForm, Instance->ListeningSocket());
    if (!IssueArgument.empty())
      mainForm->CallAfter(
          [mainForm] { Application.Guard([mainForm] { mainForm->Form().OpenIssueFile(IssueArgument); }); });
    return true;
  }

  int OnExit() override {
    FHandover.reset();
    if (Instance) Instance->StopListening();
    FinalizeMainUnit();
    SetBackend(nullptr);
    return wxApp::OnExit();
  }

 private:
  TWxBackend FBackend;
  std::unique_ptr<TIssueHandover> FHandover;
};

wxIMPLEMENT_APP_NO_MAIN(TFolivoApp);

int main(int argc, char** argv) {
  const TReaderArguments arguments = ParseReaderArguments(std::vector<std::string>(argv + 1, argv + argc));
  switch (arguments.action) {
    case TReaderArguments::TAction::Help:
      std::printf("%s%s", ReaderUsage, ReaderHelp);
      return 0;
    case TReaderArguments::TAction::Version:
      std::printf("folivo %s\n", FOLIVO_VERSION);
      return 0;
    case TReaderArguments::TAction::Wrong:
      std::fputs(ReaderUsage, stderr);
      return 2;
    case TReaderArguments::TAction::Start:
      break;
  }
  // The lock lies beside the working folder. Without a private temporary folder the window says so.
  RefillTempPath();
  const std::string temp = TempPath();
  std::unique_ptr<TReaderInstance> instance;
  if (!temp.empty()) {
    instance = std::make_unique<TReaderInstance>(temp);
    switch (instance->Claim(arguments.issue)) {
      case TReaderInstance::TClaim::First:
        break;
      case TReaderInstance::TClaim::HandedOver:
        return 0;
      case TReaderInstance::TClaim::Refused:
        std::fprintf(stderr, "folivo: the running reader found no issue in %s\n", arguments.issue.c_str());
        return 1;
      case TReaderInstance::TClaim::Unreachable:
        std::fputs("folivo: a reader runs already but does not answer\n", stderr);
        return 1;
    }
  }
  Instance = instance.get();
  IssueArgument = arguments.issue;
  wxSetAssertHandler(LogToolkitCheck);
  // The toolkit's dialogs keep their settings and the files chosen in them for this run only:
  // nothing of the reader is written under the user's home.
  setenv("GSETTINGS_BACKEND", "memory", 1);
  if (!temp.empty()) KeepEngineFilesIn(temp);
  char* programOnly[] = {argv[0], nullptr};
  int count = 1;
  const int status = wxEntry(count, programOnly);
  // What the run left in the private folder goes, and the folder with it when the reader made it.
  RemoveEngineFiles();
  instance.reset();
  if (!temp.empty() && ReaderMadeFolder(temp)) rmdir(temp.c_str());
  return status;
}
