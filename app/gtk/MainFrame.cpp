#include "app/gtk/MainFrame.h"

#include <wx/menu.h>
#include <wx/settings.h>

#include "app/gtk/Artwork.h"
#include "app/gtk/FullScreenReading.h"
#include "app/gtk/OpeningProgressBox.h"
#include "app/gtk/ReaderExtras.h"
#include "app/gtk/RecentIssuesMenu.h"
#include "app/gtk/SkinButtonKeys.h"
#include "app/gtk/Unit1.h"
#include "classlib/Application.h"

namespace {
constexpr long MainFrameStyle = wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX;
const wxSize ClientSize(789, 501);

// Every handler runs under the application's default error report.
template <typename F>
auto Guarded(F handler) {
  return [handler](auto&&...) { Application.Guard(handler); };
}
}  // namespace

TAddressSlot::TAddressSlot(wxWindow* parent)
    : wxComboBox(parent, wxID_ANY, "URLs", wxPoint(128, 24), wxSize(305, 21), 0, nullptr, 0,
                 wxDefaultValidator, "URLs") {
  Hide();
  Disable();
}

TMainFrame::TMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Korvex Folivo", wxDefaultPosition, wxDefaultSize, MainFrameStyle,
              "MainForm") {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  SetFont(wxFont(wxFontInfo(wxSize(0, 11)).FaceName("MS Sans Serif")));
  SetIcon(wxIcon([] {
    wxIcon icon;
    icon.CopyFromBitmap(LoadIcon());
    return icon;
  }()));
  BuildMenu();
  SetClientSize(ClientSize);
  SetMinClientSize(ClientSize);
  SetMaxClientSize(ClientSize);
  FImage1 = new TSkinPanel(this, SkinFor(GetContentScaleFactor()));
  FImage1->SetSize(wxRect(wxPoint(0, 0), ClientSize));
  FURLs = new TAddressSlot(FImage1);
  FWebBrowser1 = std::make_unique<TWebBrowser>(FImage1, wxPoint(85, 58), wxSize(590, 340));
  FForm = std::make_unique<TMainForm>(*this);
  BuildButtons();
  FExtras = std::make_unique<TReaderExtras>(*this, *FWebBrowser1, *FForm);
  FRecentMenu = std::make_unique<TRecentIssuesMenu>(*this, *FFileMenu, 0, *FForm);
  FOpeningProgress = new TOpeningProgressBox(this, [this] { FForm->CancelOpening(); });
  FFullScreen = std::make_unique<TFullScreenReading>(*this, *FImage1, *FWebBrowser1->Control());
  Bind(wxEVT_CLOSE_WINDOW, &TMainFrame::OnClose, this);
  Application.Guard([this] { FForm->FormCreate(); });
  Centre(wxBOTH);
}

TMainFrame::~TMainFrame() {
  FRecentMenu.reset();
  FExtras.reset();
  FForm.reset();
}

void TMainFrame::BuildMenu() {
  // The keys shown beside the items work wherever the keyboard is.
  auto* file = FFileMenu = new wxMenu;
  const wxMenuItem* apri = file->Append(wxID_ANY, "&Apri...\tCtrl+O");
  file->AppendSeparator();
  const wxMenuItem* exit = file->Append(wxID_ANY, "&Esci\tCtrl+Q");
  auto* vai = new wxMenu;
  const wxMenuItem* indice = vai->Append(wxID_ANY, "I&ndice\tAlt+Home");
  const wxMenuItem* web = vai->Append(wxID_ANY, "&Web\tCtrl+L");  // the WEB button
  const wxMenuItem* search = vai->Append(wxID_ANY, "&Cerca nel numero...\tCtrl+Shift+F");
  const wxMenuItem* fullScreen = vai->Append(wxID_ANY, "&Schermo intero\tF11");
  auto* help = new wxMenu;
  const wxMenuItem* informazioni = help->Append(wxID_ANY, "&Informazioni...");
  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(vai, "&Vai");
  bar->Append(help, "&?");
  SetMenuBar(bar);
  Bind(wxEVT_MENU, Guarded([this] { FForm->Apri1Click(); }), apri->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FForm->Exit1Click(); }), exit->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FForm->Indice1Click(); }), indice->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FForm->SpeedButton4Click(); }), web->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FForm->SearchIssueClick(); }), search->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FFullScreen->Toggle(); }), fullScreen->GetId());
  Bind(wxEVT_MENU, Guarded([this] { FForm->Informazioni1Click(); }), informazioni->GetId());
}

void TMainFrame::BuildButtons() {
  FImage1->AddButton({"SpeedButton1", "INDEX", wxRect(349, 458, 60, 22),
                      GlyphFor(TGlyph::Index, GetContentScaleFactor()),
                      [this] { Application.Guard([this] { FForm->SpeedButton1Click(); }); }});
  FImage1->AddButton({"SpeedButton2", "Back", wxRect(266, 458, 41, 25),
                      GlyphFor(TGlyph::Back, GetContentScaleFactor()),
                      [this] { Application.Guard([this] { FForm->SpeedButton2Click(); }); }});
  FImage1->AddButton({"SpeedButton3", "Forward", wxRect(448, 460, 43, 23),
                      GlyphFor(TGlyph::Forward, GetContentScaleFactor()),
                      [this] { Application.Guard([this] { FForm->SpeedButton3Click(); }); }});
  FImage1->AddButton({"SpeedButton4", "WEB", wxRect(703, 125, 51, 24),
                      GlyphFor(TGlyph::Web, GetContentScaleFactor()),
                      [this] { Application.Guard([this] { FForm->SpeedButton4Click(); }); }});
  MakeSkinButtonsReachable(*FImage1);
}

std::string TMainFrame::AddressText() {
  return FURLs->GetValue().utf8_string();
}

void TMainFrame::SetAddressText(const std::string& text) {
  FURLs->SetValue(wxString::FromUTF8(text));
}

void TMainFrame::ShowAboutBox() {
  if (!FInformazioni || FInformazioni->IsShown()) return;
  FInformazioni->CentreOnParent();
  FInformazioni->Show();
}

void TMainFrame::CloseMainWindow() {
  Close();
}

void TMainFrame::ShowOpeningProgress(const std::string& issueName) {
  FOpeningProgress->Begin(issueName);
}

void TMainFrame::UpdateOpeningProgress(const std::string& text, int percent) {
  FOpeningProgress->Progress(text, percent);
}

void TMainFrame::HideOpeningProgress() {
  FOpeningProgress->Hide();
}

double TMainFrame::PageZoom() {
  return FWebBrowser1->Page().Zoom();
}

void TMainFrame::SetPageZoom(double factor) {
  FExtras->Zoom().Set(factor);
}

void TMainFrame::OnClose(wxCloseEvent& event) {
  // Refused while a command holds the window (a question waiting, an issue being opened), also
  // when the close cannot be vetoed: the command still uses the form and its component, and
  // closes the window once it has returned.
  if (!FForm->FormCloseQuery()) {
    if (event.CanVeto()) event.Veto();
    return;
  }
  Application.Guard([this] { FForm->FormClose(); });
  Destroy();
}
