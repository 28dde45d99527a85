#pragma once
// A text file written line by line with CR LF line ends. Every step is tested at once and the
// first failure raises EInOutError with the operating system's code.
#include <string>

class TTextFileWriter {
 public:
  explicit TTextFileWriter(const std::string& fileName);  // creates or truncates
  ~TTextFileWriter();                                     // closes quietly if still open
  TTextFileWriter(const TTextFileWriter&) = delete;
  TTextFileWriter& operator=(const TTextFileWriter&) = delete;
  void WriteLine(const std::string& line);
  void Close();

 private:
  int FHandle;
};

// Writes the lines, each followed by CR LF, into a new or truncated file.
void WriteTextFile(const std::string& fileName, const char* const* lines, int count);
