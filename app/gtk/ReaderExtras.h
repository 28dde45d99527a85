#pragma once
// What readers expect beyond the window's buttons and menus: history keys, zoom, find in page,
// print, dropped issues and recovery from a dead page engine. None shows on a menu.
#include <memory>

#include "app/core/Main.h"
#include "app/gtk/FindBox.h"
#include "app/gtk/HistoryKeys.h"
#include "app/gtk/PageDropSite.h"
#include "app/gtk/PageRecovery.h"
#include "app/gtk/PageZoom.h"
#include "app/gtk/WebBrowser.h"

class TReaderExtras {
 public:
  TReaderExtras(wxWindow& frame, TWebBrowser& browser, TMainForm& form);
  ~TReaderExtras();

  TPageZoom& Zoom() { return FZoom; }
  TFindBox& FindBox() { return *FFindBox; }

 private:
  TMainForm& FForm;
  THistoryKeys FHistoryKeys;
  TPageZoom FZoom;
  TPageRecovery FRecovery;
  TPageDropSite FPageDrops;
  TFindBox* FFindBox;  // a child window of the frame
};
