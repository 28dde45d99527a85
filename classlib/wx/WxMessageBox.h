#pragma once
// A modal box with an icon, a text and a row of buttons, built from wx controls so that the
// caption, the button captions, the default and the Escape answer are exactly as asked.
#include <wx/artprov.h>

#include <string>
#include <vector>

struct TBoxButton {
  wxString caption;
  int result;
};

// Shows the box centred on the screen; returns the chosen button's result, escapeResult for
// Escape or the close box.
int ShowButtonBox(const std::string& text, const std::string& caption, const wxArtID& icon,
                  const std::vector<TBoxButton>& buttons, int defaultResult, int escapeResult);
