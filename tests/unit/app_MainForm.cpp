// Start-up and shutdown of the main form: the working folder, the start page, the clean-up.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "app_Shell.h"
#include "platform/Folders.h"

namespace fs = std::filesystem;

namespace {
const char* const StartPageBytes =
    "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY BGCOLOR=#000000>\r\n</BODY>\r\n</HTML>\r\n";

TEST_F(ShellTest, StartUpWritesTheStartPageAndRecordsItFirst) {
  EXPECT_EQ(CleanupRequest.wFunc, 0u);
  form->FormCreate();
  EXPECT_EQ(ReadBytes(Korvex("hhhome.htm")), StartPageBytes);
  EXPECT_EQ(view.address, Korvex("hhhome.htm"));
  EXPECT_EQ(view.browser.navigated, std::vector<std::string>{Korvex("hhhome.htm")});
  ASSERT_EQ(form->History().Count(), 1);
  EXPECT_EQ(form->History().Index(), 0);
  EXPECT_EQ(CleanupRequest.wFunc, FO_DELETE);
  EXPECT_EQ(CleanupRequest.fFlags, FOF_NOCONFIRMATION);
  const std::string pattern = Korvex("*.*");
  ASSERT_EQ(std::strcmp(CleanupRequest.pFrom, pattern.c_str()), 0);
  EXPECT_EQ(CleanupRequest.pFrom[pattern.size() + 1], '\0');
  EXPECT_EQ(form->ZipComponent1().ExtrBaseDir(), Korvex());
  EXPECT_EQ(form->ZipComponent1().TempDir(), temp);
}

TEST_F(ShellTest, LeftoverFolderIsReusedWithItsIssue) {
  fs::create_directory(Korvex());
  std::ofstream(Korvex("hhhome.htm")) << "stale start page that is longer than the new one..........";
  std::ofstream(Korvex("index.htm")) << "<HTML></HTML>";
  form->FormCreate();
  EXPECT_EQ(ReadBytes(Korvex("hhhome.htm")), StartPageBytes);
  form->Indice1Click();
  EXPECT_EQ(view.browser.navigated.back(), Korvex("index.htm"));
  EXPECT_TRUE(backend.shown.empty());  // nothing asked
}

TEST_F(ShellTest, CloseDeletesTheContentsButNothingBehindALink) {
  const fs::path outside = temp + "outside";
  fs::create_directories(outside);
  std::ofstream(outside / "keep.txt") << "keep";
  form->FormCreate();
  fs::create_directories(Korvex("pics/deep"));
  std::ofstream(Korvex("pics/deep/a.gif")) << "GIF";
  std::ofstream(Korvex("index.htm")) << "x";
  fs::create_directory_symlink(outside, Korvex("link"));
  view.CloseMainWindow();
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Korvex())));
  EXPECT_EQ(ReadBytes((outside / "keep.txt").string()), "keep");
  EXPECT_FALSE(form->History().Created());
  EXPECT_TRUE(backend.shown.empty());
  view.browser.OnBeforeNavigate2("late event after the close");  // ignored, nothing released is used
}

// One long entry name makes a tree deeper than the usual limit of open handles.
TEST_F(ShellTest, CloseRemovesATreeDeeperThanTheHandleLimit) {
  form->FormCreate();
  int fd = open(Korvex().c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 3000 && fd >= 0; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  close(openat(fd, "page.htm", O_WRONLY | O_CREAT, 0600));
  close(fd);
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit usual = saved;
  usual.rlim_cur = std::min<rlim_t>(1024, saved.rlim_max);
  setrlimit(RLIMIT_NOFILE, &usual);
  view.CloseMainWindow();
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_FALSE(fs::exists(Korvex()));
}

TEST_F(ShellTest, AFileThatCannotBeDeletedKeepsTheFolderAndTheCloseStillEnds) {
  form->FormCreate();
  const std::string held = Korvex("held.htm");
  std::ofstream(held) << "held";
  if (std::system(("chattr +i " + held + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "no immutable files here";
  view.CloseMainWindow();
  std::system(("chattr -i " + held).c_str());
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(fs::exists(held));
  EXPECT_FALSE(fs::exists(Korvex("hhhome.htm")));
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(ShellTest, AStartPageThatCannotBeWrittenIsReportedAndNothingNavigates) {
  fs::create_directories(Korvex("hhhome.htm"));  // a folder where the page goes
  Application.Guard([this] { form->FormCreate(); });
  EXPECT_EQ(view.address, "URLs");
  EXPECT_TRUE(view.browser.navigated.empty());
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].kind, "MessageBox");
  EXPECT_EQ(backend.shown[0].text, "File access denied.");
  EXPECT_EQ(backend.shown[0].caption, "Korvex Folivo");
  EXPECT_EQ(backend.shown[0].style, MB_OK | MB_ICONERROR);
  // What was done before the failure stays done.
  EXPECT_EQ(CleanupRequest.wFunc, FO_DELETE);
  EXPECT_TRUE(form->History().Created());
  EXPECT_EQ(form->History().Index(), -1);
}

TEST_F(ShellTest, ATempPathTooLongForTheBufferFallsBackToAPrivateFolder) {
  const std::string longTemp = temp + std::string(60, 'x');
  fs::create_directories(longTemp);
  unsetenv("XDG_RUNTIME_DIR");
  setenv("TMPDIR", longTemp.c_str(), 1);
  RefillTempPath(folder.Path());  // the reader's is /tmp
  unsetenv("TMPDIR");
  const std::string fallback = temp + "folivo-" + std::to_string(getuid()) + "/";
  EXPECT_EQ(TempPath(), fallback);
  struct stat st = {};
  ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 077, 0u);
  EXPECT_EQ(st.st_uid, getuid());
}
}  // namespace
