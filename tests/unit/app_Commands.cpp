// The issue commands: Index, the links page, opening an issue, and a close during an extraction.
#include <pwd.h>

#include <set>

#include "app/core/ContentsPage.h"
#include "app_Shell.h"
#include "platform/Folders.h"
#include "tests/fakekvx/FakeKvxClient.h"
#include "tests/support/LinksPage.h"

namespace fs = std::filesystem;

namespace {
TEST_F(ShellTest, IndexWithoutAnIssueAsksAndNoOrCancelDoNothing) {
  form->FormCreate();
  fs::create_directory(Korvex("index.htm"));  // a folder does not count
  backend.messageDlgAnswers = {mrNo, mrYes};
  form->Indice1Click();
  form->SpeedButton1Click();  // Yes, then the open dialog is cancelled
  ASSERT_EQ(backend.shown.size(), 3u);
  EXPECT_EQ(backend.shown[0].kind, "MessageDlg");
  EXPECT_EQ(backend.shown[0].text, "Aprire un numero di Korvex?");
  EXPECT_EQ(backend.shown[0].caption, "Confirm");
  EXPECT_EQ(backend.shown[0].style, static_cast<unsigned>(mtConfirmation));
  EXPECT_EQ(backend.shown[2].kind, "OpenDialog");
  EXPECT_EQ(view.browser.navigated.size(), 1u);
  EXPECT_EQ(form->ZipComponent1().ZipFileName(), "");
}

TEST_F(ShellTest, OpenDialogIsConfiguredAndAMissingFileIsHandedOnAndIndexShown) {
  form->FormCreate();
  const std::string missing = temp + "no-such-issue.kvx";
  backend.openDialogAnswers = {missing};
  backend.messageBoxAnswers = {IDOK};
  form->Apri1Click();
  ASSERT_EQ(backend.openDialogsSeen.size(), 1u);
  const TOpenDialog& seen = backend.openDialogsSeen[0];
  EXPECT_EQ(seen.filter, "Korvex File (*.kvx)|*.kvx");
  EXPECT_EQ(seen.filterIndex, 1);
  EXPECT_EQ(seen.initialDir, getpwuid(getuid())->pw_dir);
  EXPECT_FALSE(seen.fileMustExist);
  EXPECT_EQ(form->OpenDialog1.fileName, missing);  // kept for next time
  EXPECT_EQ(view.browser.navigated.back(), Korvex("index.htm"));
  EXPECT_EQ(form->History().Entry(form->History().Index()), Korvex("index.htm"));
}

TEST_F(ShellTest, LinksPageIsWrittenAnewOnEveryPress) {
  form->FormCreate();
  form->SpeedButton4Click();
  EXPECT_EQ(ReadBytes(Korvex("kvxlnkk.htm")), LinksPageBytes);
  std::ofstream(Korvex("kvxlnkk.htm"), std::ios::app) << "tampered";
  form->SpeedButton4Click();
  EXPECT_EQ(ReadBytes(Korvex("kvxlnkk.htm")), LinksPageBytes);
  EXPECT_EQ(view.browser.navigated.back(), Korvex("kvxlnkk.htm"));
  EXPECT_EQ(form->History().Count(), 3);
}

TEST_F(ShellTest, ALinksPageThatCannotBeWrittenNavigatesNothing) {
  form->FormCreate();
  fs::create_directory(Korvex("kvxlnkk.htm"));
  Application.Guard([this] { form->SpeedButton4Click(); });
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].text, "File access denied.");
  EXPECT_EQ(view.browser.navigated.size(), 1u);
}

TEST_F(ShellTest, ExitAndAboutGoThroughTheWindow) {
  form->FormCreate();
  form->Informazioni1Click();
  EXPECT_EQ(view.aboutRequests, 1);
  form->Exit1Click();
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(fs::exists(Korvex()));
}

// The real unzip library calls back during the extraction; the close request arrives there.
TEST_F(ShellTest, ACloseDuringAnExtractionCancelsItAndClosesAfterwards) {
  const std::string source = temp + "issue";
  fs::create_directories(source);
  for (int i = 0; i < 20; ++i)
    std::ofstream(source + "/page" + std::to_string(i) + ".htm") << std::string(5000, 'p');
  std::ofstream(source + "/index.htm") << "<HTML></HTML>";
  const std::string archive = temp + "issue.kvx";
  ASSERT_EQ(std::system(("cd " + source + " && zip -q -r " + archive + " .").c_str()), 0);

  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {archive};
  bool sawOperation = false;
  backend.onProcessMessages = [&] {
    if (view.closeRequests > 0) return;
    sawOperation = form->ZipComponent1().InOperation();
    view.CloseMainWindow();
    EXPECT_FALSE(view.closed);  // deferred while the extraction runs
    EXPECT_TRUE(form->ZipComponent1().CancelRequested());
    EXPECT_TRUE(form->History().Created());
  };
  form->Apri1Click();
  EXPECT_TRUE(sawOperation);
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(form->ZipComponent1().InOperation());
  EXPECT_FALSE(fs::exists(Korvex()));
  EXPECT_EQ(view.browser.navigated.size(), 1u);  // no index after the close
}

// A numbered set lets messages through while List looks for its parts: a close arriving there
// waits until the open-issue step has returned, and nothing is unpacked after it.
TEST_F(ShellTest, ACloseDuringListOfANumberedSetWaitsForTheOpenStep) {
  // Long names make a central directory that starts on an earlier part than the end record's.
  const std::string source = temp + "set";
  fs::create_directories(source);
  std::ofstream(source + "/index.htm") << "<HTML></HTML>";
  for (int i = 0; i < 700; ++i)
    std::ofstream(source + "/p" + std::to_string(1000 + i) + std::string(90, 'x'));
  ASSERT_EQ(std::system(("cd " + source + " && zip -q -r -s 64k ../numero.zip . >/dev/null").c_str()), 0);
  int part = 1;
  for (; fs::exists(temp + "numero.z0" + std::to_string(part)); ++part)
    fs::rename(temp + "numero.z0" + std::to_string(part), temp + "numero00" + std::to_string(part) + ".zip");
  const std::string last = temp + "numero00" + std::to_string(part) + ".zip";
  fs::rename(temp + "numero.zip", last);

  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {last};
  bool duringList = false;
  backend.onProcessMessages = [&] {
    if (view.closeRequests > 0) return;
    duringList = !form->ZipComponent1().InOperation();
    view.CloseMainWindow();
    EXPECT_FALSE(view.closed);
    EXPECT_TRUE(form->History().Created());
  };
  form->Apri1Click();
  EXPECT_TRUE(duringList);
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(fs::exists(Korvex()));
  EXPECT_EQ(view.browser.navigated.size(), 1u);
}

// Files the library could not unpack, and an issue without index.htm, are told in one box; the
// index is still navigated to. A clean issue shows no box.
TEST_F(ShellTest, WhatCouldNotBeUnpackedIsToldOnceAndTheIndexStillShown) {
  const std::string source = temp + "src";
  fs::create_directories(source + "/img");
  std::ofstream(source + "/index.htm") << "<HTML>" << std::string(4000, 'i') << "</HTML>";
  std::ofstream(source + "/img/a.gif") << std::string(3000, 'g');
  const auto pack = [&](const std::string& name, const std::string& options, const std::string& files) {
    const std::string command = "cd " + source + " && zip -q " + options + " " + temp + name + " " + files;
    return std::system(command.c_str()) == 0;
  };
  ASSERT_TRUE(pack("clean.kvx", "-r", "."));
  ASSERT_TRUE(pack("locked.kvx", "-r -P segreto", "."));
  ASSERT_TRUE(pack("noindex.kvx", "-r", "img"));
  ASSERT_TRUE(pack("damaged.kvx", "-X", "index.htm"));
  {
    std::fstream damaged(temp + "damaged.kvx", std::ios::in | std::ios::out | std::ios::binary);
    damaged.seekp(30 + 9 + 8);  // inside the deflated data of the one entry
    damaged.put('\xff').put('\x00').put('\xff');
  }
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  const auto open = [&](const std::string& name) {
    backend.shown.clear();
    backend.openDialogAnswers = {temp + name};
    form->Apri1Click();
    EXPECT_EQ(view.browser.navigated.back(), Korvex("index.htm")) << name;
    std::vector<std::string> boxes;
    for (const auto& shown : backend.shown)
      if (shown.kind == "ShowMessage") boxes.push_back(shown.text);
    return boxes;
  };
  bool busyWhileUnpacking = false;
  backend.onProcessMessages = [&] { busyWhileUnpacking = backend.busyCursor; };
  using Boxes = std::vector<std::string>;
  EXPECT_EQ(open("clean.kvx"), Boxes{});
  EXPECT_TRUE(busyWhileUnpacking);
  backend.formAnswers = {{"", TScriptedBackend::ClickCancel}, {"", TScriptedBackend::ClickCancel}};
  EXPECT_EQ(open("locked.kvx"),
            Boxes{"2 files of this issue could not be unpacked: wrong or missing password."});
  EXPECT_EQ(open("damaged.kvx"), Boxes{"1 file of this issue could not be unpacked: damaged data."});
  backend.shown.clear();
  backend.openDialogAnswers = {temp + "noindex.kvx"};
  form->Apri1Click();
  EXPECT_EQ(view.browser.navigated.back(), Korvex(ContentsPageName));
  ASSERT_EQ(backend.shown.size(), 2u);
  EXPECT_EQ(backend.shown[1].text, "This issue has no index.htm at its top: its first page cannot be shown.");
  std::ofstream(temp + "garbage.kvx") << std::string(3000, 'g');
  EXPECT_EQ(open("garbage.kvx"), Boxes{"This archive is not a valid Zip archive"});
  EXPECT_FALSE(backend.busyCursor);
}

// The texts of the boxes shown, whoever showed them.
std::vector<std::string> Boxes(const TScriptedBackend& backend) {
  std::vector<std::string> texts;
  for (const auto& shown : backend.shown)
    if (shown.kind == "ShowMessage" || shown.kind == "MessageBox") texts.push_back(shown.text);
  return texts;
}

// A spanned issue the library fails as a whole (the join's notices of files copied are no box), a
// name typed for a file that is not there, and an issue whose top holds pages but no index.
TEST_F(ShellTest, EachFailureIsToldOnceAndTruly) {
  const std::string source = temp + "src";
  fs::create_directories(source + "/sub");
  std::ofstream(source + "/index.htm") << "<HTML></HTML>";
  ASSERT_EQ(std::system(("head -c 150000 /dev/urandom > " + source + "/big.bin").c_str()), 0);
  ASSERT_EQ(std::system(("cd " + source + " && zip -q -0 -s 64k ../set.zip index.htm big.bin").c_str()), 0);
  int part = 1;
  for (; fs::exists(temp + "set.z0" + std::to_string(part)); ++part)
    fs::rename(temp + "set.z0" + std::to_string(part), temp + "set00" + std::to_string(part) + ".zip");
  fs::rename(temp + "set.zip", temp + "set00" + std::to_string(part) + ".zip");
  ASSERT_GT(part, 1);
  form->FormCreate();
  using Texts = std::vector<std::string>;
  {
    FakeKvxClient fake;
    fake.Reset(160, -1);
    fake.Step(kvxMessage, 12, 0, "beyond the limits");
    form->ZipComponent1().SetDLLDirectory(fake.Directory);
    backend.openDialogAnswers = {temp + "set00" + std::to_string(part) + ".zip"};
    form->Apri1Click();
    EXPECT_EQ(Boxes(backend), Texts{"2 files of this issue could not be unpacked: beyond the limits."});
  }
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.shown.clear();
  backend.openDialogAnswers = {temp + "typed-but-missing.kvx"};
  form->Apri1Click();
  EXPECT_EQ(Boxes(backend), Texts{"Error - no zip file specified!"});

  std::ofstream(source + "/a&b.htm") << "<HTML>a</HTML>";
  std::ofstream(source + "/sub/c.htm") << "<HTML>c</HTML>";
  ASSERT_EQ(std::system(("cd " + source + " && zip -q -r ../pages.kvx a\\&b.htm sub").c_str()), 0);
  backend.shown.clear();
  backend.openDialogAnswers = {temp + "pages.kvx"};
  form->Apri1Click();
  EXPECT_EQ(Boxes(backend), Texts{"This issue has no index.htm at its top: its first page cannot be shown."});
  EXPECT_EQ(view.browser.navigated.back(), Korvex(ContentsPageName));
  const std::string page = ReadBytes(Korvex(ContentsPageName));
  EXPECT_NE(page.find("<H2>pages.kvx</H2>"), std::string::npos);
  EXPECT_NE(page.find("<A HREF=\"a%26b.htm\">a&amp;b.htm</A>"), std::string::npos) << page;
  EXPECT_EQ(page.find("c.htm"), std::string::npos);
}

// Each issue is unpacked into a folder that holds only the program's own pages; an archive that
// cannot be read leaves the issue on view as it is, and one kept in the folder is not deleted.
TEST_F(ShellTest, AnIssueNeverShowsFilesOfTheOneBefore) {
  const std::string first = temp + "first", second = temp + "second";
  fs::create_directories(first + "/img");
  fs::create_directories(second);
  std::ofstream(first + "/index.htm") << "<HTML>1</HTML>";
  std::ofstream(first + "/extra.htm") << "<HTML>extra</HTML>";
  std::ofstream(first + "/img/a.gif") << "GIF";
  std::ofstream(second + "/index.htm") << "<HTML><A HREF=extra.htm>2</A></HTML>";
  ASSERT_EQ(std::system(("cd " + first + " && zip -q -r ../first.kvx .").c_str()), 0);
  ASSERT_EQ(std::system(("cd " + second + " && zip -q -r ../second.kvx .").c_str()), 0);
  std::ofstream(temp + "garbage.kvx") << std::string(3000, 'g');
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {temp + "first.kvx"};
  form->Apri1Click();
  ASSERT_TRUE(fs::exists(Korvex("img/a.gif")));
  form->SpeedButton4Click();
  backend.openDialogAnswers = {temp + "second.kvx"};
  form->Apri1Click();
  const auto files = [this] {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(Korvex()))
      names.insert(fs::relative(entry.path(), Korvex()).string());
    return names;
  };
  using Names = std::set<std::string>;
  EXPECT_EQ(files(), (Names{"hhhome.htm", "kvxlnkk.htm", "index.htm"}));
  backend.openDialogAnswers = {temp + "garbage.kvx"};
  form->Apri1Click();
  EXPECT_EQ(ReadBytes(Korvex("index.htm")), "<HTML><A HREF=extra.htm>2</A></HTML>");
  fs::create_directory(Korvex("kept"));
  fs::copy_file(temp + "first.kvx", Korvex("kept/first.kvx"));
  backend.openDialogAnswers = {Korvex("kept/first.kvx")};
  form->Apri1Click();
  EXPECT_TRUE(fs::exists(Korvex("kept/first.kvx")));
  EXPECT_TRUE(fs::exists(Korvex("extra.htm")));
}
}  // namespace
