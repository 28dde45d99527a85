#pragma once
// Zoom of the page view: Ctrl + mouse wheel, Ctrl +, Ctrl - and Ctrl 0, in the steps readers know.
#include <wx/webview.h>

class TPageZoom {
 public:
  TPageZoom(wxWindow& frame, wxWebView& view);
  void Reset();  // back to 100 %

 private:
  void Step(int direction);  // one step larger (1) or smaller (-1)
  void OnCharHook(wxKeyEvent& event);
  void OnWheel(wxMouseEvent& event);

  wxWebView& FView;
  int FStep;       // index into the zoom steps
  int FWheel = 0;  // wheel rotation not yet turned into a step
};
