// The text-file writer's I/O errors and the default error report.
#include <gtest/gtest.h>

#include <filesystem>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/ScriptedBackend.h"
#include "classlib/TextFile.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

int CodeOfWriting(const std::string& fileName) {
  try {
    const char* lines[] = {"<HTML>", "</HTML>"};
    WriteTextFile(fileName, lines, 2);
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), InOutErrorMessage(e.ErrorCode));
    return e.ErrorCode;
  }
  return 0;
}

}  // namespace

TEST(TextFile, LinesEndInCrLfAndNothingFollows) {
  const TTempFolder temp;
  const std::string file = temp / "page.htm";
  WriteBytes(file, "old content that is longer than the new");
  const char* lines[] = {"<HTML>", "", "</HTML>"};
  WriteTextFile(file, lines, 3);
  EXPECT_EQ(ReadBytes(file), "<HTML>\r\n\r\n</HTML>\r\n");
}

TEST(TextFile, FailuresRaiseTheirCodes) {
  EXPECT_EQ(CodeOfWriting("/no/such/folder/page.htm"), 2);
  EXPECT_EQ(CodeOfWriting(fs::temp_directory_path().string()), 5);
  EXPECT_EQ(CodeOfWriting(std::string(5000, 'n')), 3);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(CodeOfWriting("/dev/full"), 101);
  }
}

TEST(TextFile, WritingAfterCloseIsAnError) {
  TTextFileWriter writer("/dev/null");
  writer.Close();
  EXPECT_THROW(writer.WriteLine("x"), EInOutError);
}

TEST(InOutError, MessagesByCode) {
  EXPECT_EQ(InOutErrorMessage(2), "File not found");
  EXPECT_EQ(InOutErrorMessage(101), "Disk full");
  EXPECT_EQ(InOutErrorMessage(106), "Invalid numeric input");
  EXPECT_EQ(InOutErrorMessage(32), "I/O error 32");
}

TEST(ErrorReport, FullStopUnlessTheLastCharacterIsAtOrBelowIt) {
  EXPECT_EQ(ErrorReportText("Disk full"), "Disk full.");
  EXPECT_EQ(ErrorReportText("Done."), "Done.");
  EXPECT_EQ(ErrorReportText("Why?"), "Why?.");
  EXPECT_EQ(ErrorReportText("I/O error 5"), "I/O error 5.");
  EXPECT_EQ(ErrorReportText("line\n"), "line\n");
  EXPECT_EQ(ErrorReportText("a-"), "a-");
  EXPECT_EQ(ErrorReportText("caf\xC3\xA9"), "caf\xC3\xA9.");
  EXPECT_EQ(ErrorReportText(""), "");
}

TEST(ErrorReport, ApplicationShowsTheErrorBox) {
  TScriptedBackend backend;
  SetBackend(&backend);
  Application.Title = "Korvex Folivo";
  Application.Guard([] { throw EInOutError(2); });
  SetBackend(nullptr);
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].kind, "MessageBox");
  EXPECT_EQ(backend.shown[0].text, "File not found.");
  EXPECT_EQ(backend.shown[0].caption, "Korvex Folivo");
  EXPECT_EQ(backend.shown[0].style, MB_OK | MB_ICONERROR);
}
