// The terminal backend: prompts on stderr, answers read from stdin.
#include "tools/TerminalBackend.h"

#include <iostream>
#include <string>

#include "tools/SafeText.h"

namespace {

// The lines of a message box text, each made safe for the terminal.
std::string BoxText(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += TerminalText(line);
    if (end == std::string::npos) return out;
    out += '\n';
    start = end + 1;
  }
}

}  // namespace

int TTerminalBackend::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  const bool canCancel = (style & 0x0F) == MB_OKCANCEL;
  std::cerr << (caption.empty() ? "" : caption + ": ") << BoxText(text) << '\n'
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
