// The terminal backend: prompts on stderr, answers read from stdin.
#include "tools/TerminalBackend.h"

#include <iostream>
#include <string>

namespace {

// Replaces the line ends of a message box text by the terminal's.
std::string TerminalText(const std::string& text) {
  std::string out;
  for (const char c : text)
    if (c != '\r') out += c;
  return out;
}

}  // namespace

int TTerminalBackend::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  const bool canCancel = (style & 0x0F) == MB_OKCANCEL;
  std::cerr << (caption.empty() ? "" : caption + ": ") << TerminalText(text) << '\n'
            << (canCancel ? "Press Enter to go on, or c and Enter to cancel: " : "Press Enter: ")
            << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) {
    std::cerr << '\n';
    return canCancel ? IDCANCEL : IDOK;
  }
  if (canCancel && !answer.empty() && (answer[0] == 'c' || answer[0] == 'C')) return IDCANCEL;
  return IDOK;
}

TModalResult TTerminalBackend::MessageDlg(const TMessageDialog& dialog) {
  return ModalResultOf(dialog.escapeButton);
}

TBackendScope::TBackendScope(TBackend& backend) : FPrevious(&Backend()) {
  SetBackend(&backend);
}

TBackendScope::~TBackendScope() {
  SetBackend(FPrevious);
}
