#pragma once
// TInformazioni: the About box, above the main window and centred on it when shown. Created hidden
// once; closing it only hides it.
#include <wx/frame.h>

class TInformazioni : public wxFrame {
 public:
  explicit TInformazioni(wxWindow* owner);
  void Button1Click();

 private:
  void OnClose(wxCloseEvent& event);
};
