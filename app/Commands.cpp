#include "app/Main.h"
#include "app/WorkingFolder.h"
#include "classlib/Backend.h"
#include "platform/Folders.h"

void TMainForm::OpenIssueStep() {
  if (!Backend().ExecuteOpenDialog(OpenDialog1)) return;
  OpenIssueFile(OpenDialog1.fileName);
}

void TMainForm::OpenIssueFile(const std::string& fileName) {
  RefillTempPath();
  FZipComponent1->SetZipFileName(fileName);
  FZipComponent1->Extract();
  if (FCloseWanted && !FZipComponent1->InOperation) {
    FView.CloseMainWindow();
    return;
  }
  if (OnIssueOpening) OnIssueOpening();
  FView.SetAddressText(WorkingFile("index.htm"));
  GoToAddress();
}

void TMainForm::ShowIndexOrAsk() {
  RefillTempPath();
  if (FileExists(WorkingFile("index.htm"))) {
    FView.SetAddressText(WorkingFile("index.htm"));
    GoToAddress();
    return;
  }
  TMessageDialog question;
  question.text = "Aprire un numero di Korvex?";
  question.caption = "Confirm";
  question.type = mtConfirmation;
  question.buttons = {mbYes, mbNo};
  question.defaultButton = mbYes;
  question.escapeButton = mbNo;
  if (Backend().MessageDlg(question) == mrYes) OpenIssueStep();
}

void TMainForm::Apri1Click() {
  OpenIssueStep();
}

void TMainForm::Indice1Click() {
  ShowIndexOrAsk();
}

void TMainForm::SpeedButton1Click() {
  ShowIndexOrAsk();
}

void TMainForm::SpeedButton4Click() {
  RefillTempPath();
  WriteLinksPage(WorkingFile("kvxlnkk.htm"));
  FView.SetAddressText(WorkingFile("kvxlnkk.htm"));
  GoToAddress();
}

void TMainForm::Exit1Click() {
  FView.CloseMainWindow();
}

void TMainForm::Informazioni1Click() {
  FView.ShowAboutBox();
}
