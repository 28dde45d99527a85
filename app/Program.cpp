// The reader's entry: no command-line arguments are read.
#include <wx/app.h>
#include <wx/image.h>

#include "app/EndSignals.h"
#include "app/MainFrame.h"
#include "app/PageGuards.h"
#include "app/Unit1.h"
#include "app/WorkingFolder.h"
#include "classlib/Application.h"
#include "classlib/Backend.h"
#include "classlib/Exceptions.h"
#include "classlib/wx/WxBackend.h"

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
    wxInitAllImageHandlers();
    SetAppDisplayName(Application.Title);
    LimitWebProcessMemory();
    auto* mainForm = new TMainFrame;
    SetTopWindow(mainForm);
    mainForm->Show();
    auto* informazioni = new TInformazioni(mainForm);
    mainForm->SetAboutBox(informazioni);
    return true;
  }

  int OnExit() override {
    FinalizeMainUnit();
    SetBackend(nullptr);
    return wxApp::OnExit();
  }

 private:
  TWxBackend FBackend;
};

wxIMPLEMENT_APP(TFolivoApp);
