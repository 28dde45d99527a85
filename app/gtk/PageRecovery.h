#pragma once
// When the page engine's web process dies, the window loads the current history entry once more;
// should the same page take it down again, a short message says so instead of loading it again.
#include <wx/window.h>

#include <string>

#include "app/core/Main.h"
#include "app/engine/PageView.h"

class TPageRecovery {
 public:
  TPageRecovery(wxWindow& frame, TPageView& page, TMainForm& form);
  ~TPageRecovery();
  TPageRecovery(const TPageRecovery&) = delete;
  TPageRecovery& operator=(const TPageRecovery&) = delete;

  // The engine reported the end of its web process.
  void WebProcessEnded();

 private:
  wxWindow& FFrame;
  TPageView& FPage;
  TMainForm& FForm;
  unsigned long FSignal = 0;
  std::string FReloaded;  // the page loaded again after the last end, until it ends again
};
