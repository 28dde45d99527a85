#pragma once
// Files dragged onto the page. The page engine would take such a drag itself (and hand the files to
// the page), so the page area answers file drags before the engine sees them, as the skin does: a
// single issue opens without the open dialog, any other file drop is taken and ignored. Drags
// that offer no files (text into a field of the page), and drags that start in a page, go on to
// the engine.
#include <wx/window.h>

#include "app/core/Main.h"
#include "app/engine/PageView.h"

class TPageDropSite {
 public:
  TPageDropSite(wxWindow& frame, TPageView& page, TMainForm& form);
  ~TPageDropSite();
  TPageDropSite(const TPageDropSite&) = delete;
  TPageDropSite& operator=(const TPageDropSite&) = delete;

  wxWindow& Frame() { return FFrame; }
  TMainForm& Form() { return FForm; }

 private:
  wxWindow& FFrame;
  TPageView& FPage;
  TMainForm& FForm;
};
