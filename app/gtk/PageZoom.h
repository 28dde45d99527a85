#pragma once
// Zoom of the page view: Ctrl + mouse wheel, Ctrl +, Ctrl - and Ctrl 0, in the steps readers know.
#include <wx/window.h>

#include "app/engine/PageView.h"

class TPageZoom {
 public:
  TPageZoom(wxWindow& frame, TPageView& page);
  ~TPageZoom();
  TPageZoom(const TPageZoom&) = delete;
  TPageZoom& operator=(const TPageZoom&) = delete;
  void Reset();  // back to 100 %
  // The step nearest to the factor.
  void Set(double factor);
  // The wheel turned with Ctrl held, in notches (up is positive); parts of a notch add up.
  void Wheel(double notches);

 private:
  void Step(int direction);  // one step larger (1) or smaller (-1)
  void OnCharHook(wxKeyEvent& event);

  TPageView& FPage;
  int FStep;          // index into the zoom steps
  double FWheel = 0;  // wheel rotation not yet turned into a step
};
