#include "classlib/wx/WxBackend.h"

#include <wx/app.h>
#include <wx/arrstr.h>
#include <wx/cursor.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <cctype>

#include "classlib/Application.h"
#include "classlib/wx/WxMessageBox.h"

namespace {
wxArtID IconOf(unsigned style) {
  switch (style & 0xF0) {
    case 0x10:
      return wxART_ERROR;
    case 0x20:
      return wxART_QUESTION;
    case 0x30:
      return wxART_WARNING;
    case 0x40:
      return wxART_INFORMATION;
    default:
      return wxArtID();
  }
}

wxArtID IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return wxART_WARNING;
    case mtError:
      return wxART_ERROR;
    case mtInformation:
      return wxART_INFORMATION;
    case mtConfirmation:
      return wxART_QUESTION;
    case mtCustom:
      break;
  }
  return wxArtID();
}

// The filter with each pattern matching in any case, as the system the dialog stands in for
// matches them: "*.kvx" becomes "*.[kK][vV][xX]". Descriptions stay as they are.
wxString CaseBlindFilter(const std::string& filter) {
  std::string blind;
  bool pattern = false;  // descriptions and patterns alternate, a description first
  for (const char c : filter) {
    if (c == '|') {
      pattern = !pattern;
      blind += c;
    } else if (pattern && std::isalpha(static_cast<unsigned char>(c))) {
      blind += std::string("[") + static_cast<char>(std::tolower(static_cast<unsigned char>(c))) +
               static_cast<char>(std::toupper(static_cast<unsigned char>(c))) + "]";
    } else {
      blind += c;
    }
  }
  return wxString::FromUTF8(blind);
}

// The position (from 1) of the first entry of the filter whose patterns match the name in any case,
// or 0; with only, that entry alone is tried.
int FilterShowing(const std::string& filter, const wxString& name, int only = 0) {
  const wxArrayString parts = wxSplit(wxString::FromUTF8(filter), '|', 0);
  for (std::size_t i = 1; i < parts.size(); i += 2) {
    const int entry = static_cast<int>(i / 2) + 1;
    if (only != 0 && entry != only) continue;
    for (const wxString& pattern : wxSplit(parts[i], ';', 0))
      if (wxMatchWild(pattern.Lower(), name.Lower(), false)) return entry;
  }
  return 0;
}

TBoxButton ButtonOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return {"&Yes", mrYes};
    case mbNo:
      return {"&No", mrNo};
    case mbOK:
      return {"OK", mrOk};
    case mbCancel:
      return {"Cancel", mrCancel};
  }
  return {"OK", mrOk};
}
}  // namespace

int TWxBackend::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  if (!wxTheApp) return 0;
  switch (style & 0x0F) {
    case MB_OKCANCEL:
      return ShowButtonBox(text, caption, IconOf(style), {{"OK", IDOK}, {"Cancel", IDCANCEL}}, IDOK,
                           IDCANCEL);
    case MB_YESNO:
      return ShowButtonBox(text, caption, IconOf(style), {{"&Yes", IDYES}, {"&No", IDNO}}, IDYES, IDNO);
    default:
      return ShowButtonBox(text, caption, IconOf(style), {{"OK", IDOK}}, IDOK, IDOK);
  }
}

void TWxBackend::ShowMessage(const std::string& text) {
  ShowButtonBox(text, Application.Title, wxArtID(), {{"OK", IDOK}}, IDOK, IDOK);
}

TModalResult TWxBackend::MessageDlg(const TMessageDialog& dialog) {
  std::vector<TBoxButton> buttons;
  for (TMsgDlgBtn button : dialog.buttons) buttons.push_back(ButtonOf(button));
  const int result =
      ShowButtonBox(dialog.text, dialog.caption, IconOf(dialog.type), buttons,
                    ButtonOf(dialog.defaultButton).result, ButtonOf(dialog.escapeButton).result);
  return static_cast<TModalResult>(result);
}

bool TWxBackend::ExecuteOpenDialog(TOpenDialog& dialog) {
  wxString folder = wxString::FromUTF8(dialog.initialDir);
  wxString name;
  if (!dialog.fileName.empty()) {
    const wxFileName last(wxString::FromUTF8(dialog.fileName));
    if (last.IsAbsolute()) folder = last.GetPath();
    // The dialog shows the last name with the filter that lets it be seen: given one that hides
    // it, the dialog would drop its filter.
    const int shows = FilterShowing(dialog.filter, last.GetFullName());
    if (shows > 0) {
      name = last.GetFullName();
      if (FilterShowing(dialog.filter, name, dialog.filterIndex) == 0) dialog.filterIndex = shows;
    }
  }
  long style = wxFD_OPEN;
  if (dialog.fileMustExist) style |= wxFD_FILE_MUST_EXIST;
  const wxBusyCursorSuspender pointer;
  wxFileDialog chooser(wxTheApp->GetTopWindow(), wxFileSelectorPromptStr, folder, name,
                       CaseBlindFilter(dialog.filter), style);
  chooser.SetFilterIndex(dialog.filterIndex > 0 ? dialog.filterIndex - 1 : 0);
  if (chooser.ShowModal() != wxID_OK) return false;
  dialog.fileName = chooser.GetPath().utf8_string();
  dialog.filterIndex = chooser.GetFilterIndex() + 1;
  return true;
}

// Callers ask after every step of a long operation; a pass over the window's messages costs far
// more than a small step, so they get through once per time slice, often enough for the window to
// repaint and its commands to answer.
void TWxBackend::ProcessMessages() {
  const auto now = std::chrono::steady_clock::now();
  if (!wxTheApp || now - FLastPass < MessageTimeSlice) return;
  FLastPass = now;
  wxTheApp->Yield(true);
}

void TWxBackend::SetBusyCursor(bool busy) {
  if (busy)
    wxBeginBusyCursor();
  else if (wxIsBusy())
    wxEndBusyCursor();
}

void* TWxBackend::MainWindowHandle() {
  return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}
