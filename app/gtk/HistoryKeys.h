#pragma once
// Alt+Left, Alt+Right and Alt+Home, and the mouse's back and forward buttons over the page, run
// the Back, Forward and INDEX handlers. The page engine never sees them, so its own history never
// moves the page behind the window's.
#include <wx/window.h>

#include "app/core/Main.h"
#include "app/engine/PageView.h"

class THistoryKeys {
 public:
  THistoryKeys(wxWindow& frame, TPageView& page, TMainForm& form);
  ~THistoryKeys();
  THistoryKeys(const THistoryKeys&) = delete;
  THistoryKeys& operator=(const THistoryKeys&) = delete;

 private:
  void OnCharHook(wxKeyEvent& event);

  TPageView& FPage;
  TMainForm& FForm;
};
