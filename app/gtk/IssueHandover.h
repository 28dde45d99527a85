#pragma once
// The running reader's side of a later start: each request on the listening socket raises the
// window and, when it names an issue, runs the open-issue step on it as for a dropped file.
#include <wx/frame.h>
#include <wx/weakref.h>

#include "app/gtk/MainFrame.h"

class TIssueHandover {
 public:
  TIssueHandover(TMainFrame& frame, int listening);
  ~TIssueHandover();
  TIssueHandover(const TIssueHandover&) = delete;
  TIssueHandover& operator=(const TIssueHandover&) = delete;

 private:
  void Answer();

  wxWeakRef<TMainFrame> FFrame;
  int FListening;
  unsigned FWatch = 0;
};
