#include "app/PagePrint.h"

void BindPrintKey(wxWindow& frame, wxWebView& view) {
  frame.Bind(wxEVT_CHAR_HOOK, [&view](wxKeyEvent& event) {
    if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'P')
      view.Print();
    else
      event.Skip();
  });
}
