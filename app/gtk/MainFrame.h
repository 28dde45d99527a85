#pragma once
// The main window on wx: fixed-size frame, skin panel with the image buttons, the hidden address
// slot, the page view and the menu bar. Its handlers live in TMainForm.
#include <wx/combobox.h>
#include <wx/frame.h>

#include <memory>

#include "app/core/Main.h"
#include "app/gtk/SkinPanel.h"
#include "app/gtk/WebBrowser.h"

class TFullScreenReading;
class TInformazioni;
class TOpeningProgressBox;
class TReaderExtras;
class TRecentIssuesMenu;

// The address slot: a combo box that stays hidden and never takes the focus.
class TAddressSlot : public wxComboBox {
 public:
  explicit TAddressSlot(wxWindow* parent);
  bool AcceptsFocus() const override { return false; }
  bool AcceptsFocusFromKeyboard() const override { return false; }
};

class TMainFrame : public wxFrame, public TMainFormView {
 public:
  TMainFrame();
  ~TMainFrame() override;

  TMainForm& Form() { return *FForm; }
  TSkinPanel* Image1() const { return FImage1; }
  TAddressSlot* URLs() const { return FURLs; }
  TWebBrowser& Browser() { return *FWebBrowser1; }
  TReaderExtras& Extras() { return *FExtras; }
  TFullScreenReading& FullScreen() { return *FFullScreen; }
  // The About box, created hidden once the window exists.
  void SetAboutBox(TInformazioni* box) { FInformazioni = box; }

  std::string AddressText() override;
  void SetAddressText(const std::string& text) override;
  TBrowserControl& WebBrowser1() override { return *FWebBrowser1; }
  void ShowAboutBox() override;
  void CloseMainWindow() override;
  void ShowOpeningProgress(const std::string& issueName) override;
  void UpdateOpeningProgress(const std::string& text, int percent) override;
  void HideOpeningProgress() override;
  double PageZoom() override;
  void SetPageZoom(double factor) override;

 private:
  void BuildMenu();
  void BuildButtons();
  void OnClose(wxCloseEvent& event);

  TSkinPanel* FImage1;
  TAddressSlot* FURLs;
  std::unique_ptr<TWebBrowser> FWebBrowser1;
  std::unique_ptr<TMainForm> FForm;
  std::unique_ptr<TReaderExtras> FExtras;
  std::unique_ptr<TFullScreenReading> FFullScreen;
  std::unique_ptr<TRecentIssuesMenu> FRecentMenu;
  wxMenu* FFileMenu;  // the menu bar's
  TInformazioni* FInformazioni = nullptr;
  TOpeningProgressBox* FOpeningProgress;  // a child window
};
