#pragma once
// Modal interactions of the class library. The program gets them from the wx backend, tests from
// the scripted backend; nothing outside classlib/ knows which.
#include <functional>
#include <string>
#include <vector>

// Results and styles of the platform message box.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_ICONHAND = 0x0010;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x0020;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TMessageDialog {
  std::string text;
  std::string caption;  // "Confirm" for confirmations
  TMsgDlgType type = mtConfirmation;
  std::vector<TMsgDlgBtn> buttons;
  TMsgDlgBtn defaultButton = mbYes;
  TMsgDlgBtn escapeButton = mbNo;
};

struct TOpenDialog {
  std::string filter;  // "Korvex File (*.kvx)|*.kvx"
  int filterIndex = 1;
  std::string initialDir;
  std::string fileName;  // the last name chosen, offered again
  bool hideReadOnly = true;
  bool resizable = true;
  bool fileMustExist = false;
};

// A small modal form described in code (the password dialog). The backend builds the real
// window from it; positions in pixels within the client area.
enum TBitBtnKind { bkCustom, bkOK, bkCancel };
struct TFormFont {
  std::string name;
  int height = 0;  // negative: character height in pixels
  bool bold = false;
};
struct TLabelSpec {
  int left, top, width, height;
  std::string caption;
};
struct TEditSpec {
  int left, top, width;
  char passwordChar = 0;
  int maxLength = 0;
  std::string text;
};
struct TBitBtnSpec {
  int left, top, width, height;
  TBitBtnKind kind;
  std::string caption;
  std::function<void()> onClick;
};
struct TModalForm {
  std::string caption;
  int width = 0, height = 0;
  TFormFont font;
  bool dialogBorder = true;
  bool screenCenter = true;
  std::vector<TLabelSpec> labels;
  std::vector<TEditSpec> edits;  // their text is read back after the form closes
  std::vector<TBitBtnSpec> buttons;
};
