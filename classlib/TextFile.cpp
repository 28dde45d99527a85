#include "classlib/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "classlib/Exceptions.h"

namespace {
constexpr int FileNotOpen = 103;

[[noreturn]] void RaiseFromErrno() {
  throw EInOutError(InOutErrorCode(errno));
}
}  // namespace

TTextFileWriter::TTextFileWriter(const std::string& fileName)
    : FHandle(open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {
  if (FHandle < 0) RaiseFromErrno();
}

TTextFileWriter::~TTextFileWriter() {
  if (FHandle >= 0) close(FHandle);
}

// A write that makes no progress without an error is a full disk.
void TTextFileWriter::WriteLine(const std::string& line) {
  if (FHandle < 0) throw EInOutError(FileNotOpen);
  const std::string text = line + "\r\n";
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(FHandle, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseFromErrno();
    if (n == 0) throw EInOutError(101);
    done += static_cast<std::size_t>(n);
  }
}

void TTextFileWriter::Close() {
  if (FHandle < 0) throw EInOutError(FileNotOpen);
  const int handle = FHandle;
  FHandle = -1;
  if (close(handle) != 0) RaiseFromErrno();
}

void WriteTextFile(const std::string& fileName, const char* const* lines, int count) {
  TTextFileWriter writer(fileName);
  for (int i = 0; i < count; ++i) writer.WriteLine(lines[i]);
  writer.Close();
}
