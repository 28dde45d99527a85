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

TEST_F(ShellTest, OpenDialogIsConfiguredAndAMissingFileIsHandedOnAndTheStartPageStays) {
  form->FormCreate();
  const std::string missing = temp + "no-such-issue.kvx";
  backend.openDialogAnswers = {missing};
  backend.messageBoxAnswers = {IDOK};
  form->Apri1Click();
  ASSERT_EQ(backend.openDialogsSeen.size(), 1u);
  const TOpenDialog& seen = backend.openDialogsSeen[0];
  EXPECT_EQ(seen.filter, "Korvex File (*.kvx)|*.kvx|Last part of a spanned issue (*.zip)|*.zip");
  EXPECT_EQ(seen.filterIndex, 1);
  EXPECT_EQ(seen.initialDir, getpwuid(getuid())->pw_dir);
  EXPECT_FALSE(seen.fileMustExist);
  EXPECT_EQ(form->OpenDialog1.fileName, missing);  // kept for next time
  EXPECT_EQ(form->ZipComponent1().ZipFileName(), missing);
  EXPECT_EQ(view.browser.navigated.back(), Korvex("hhhome.htm"));
  EXPECT_EQ(form->History().Count(), 1);
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

// The texts of the boxes shown, whoever showed them.
std::vector<std::string> Boxes(const TScriptedBackend& backend) {
  std::vector<std::string> texts;
  for (const auto& shown : backend.shown)
    if (shown.kind == "ShowMessage" || shown.kind == "MessageBox") texts.push_back(shown.text);
  return texts;
}

// Files the library could not unpack, and an issue without index.htm, are told in one box. An issue
// none of whose pages came out leaves the one on screen; one whose index did not come out opens at
// the contents page. A clean issue shows no box.
TEST_F(ShellTest, WhatCouldNotBeUnpackedIsToldOnceAndOnlyAnIssueWithAPageTakesThePlace) {
  const std::string source = temp + "src";
  fs::create_directories(source + "/img");
  std::ofstream(source + "/index.htm") << "<HTML>" << std::string(4000, 'i') << "</HTML>";
  std::ofstream(source + "/other.htm") << "<HTML>other</HTML>";
  std::ofstream(source + "/img/a.gif") << std::string(3000, 'g');
  const auto pack = [&](const std::string& name, const std::string& options, const std::string& files) {
    const std::string command = "cd " + source + " && zip -q " + options + " " + temp + name + " " + files;
    return std::system(command.c_str()) == 0;
  };
  ASSERT_TRUE(pack("clean.kvx", "-r", "index.htm img"));
  ASSERT_TRUE(pack("locked.kvx", "-r -P segreto", "index.htm img"));
  ASSERT_TRUE(pack("noindex.kvx", "-r", "img"));
  ASSERT_TRUE(pack("damaged.kvx", "-X", "index.htm"));
  ASSERT_TRUE(pack("halfdamaged.kvx", "-X", "index.htm other.htm"));
  for (const char* name : {"damaged.kvx", "halfdamaged.kvx"}) {
    std::fstream damaged(temp + name, std::ios::in | std::ios::out | std::ios::binary);
    damaged.seekp(30 + 9 + 8);  // inside the deflated data of index.htm, the first entry
    damaged.put('\xff').put('\x00').put('\xff');
  }
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  const auto open = [&](const std::string& name) {
    backend.shown.clear();
    backend.openDialogAnswers = {temp + name};
    const std::size_t navigations = view.browser.navigated.size();
    form->Apri1Click();
    // The clean issue stays on screen after each failure.
    EXPECT_EQ(view.browser.navigated.size(), navigations + (name == "clean.kvx")) << name;
    EXPECT_EQ(view.browser.navigated.back(), Korvex("index.htm")) << name;
    EXPECT_TRUE(fs::exists(Korvex("img/a.gif"))) << name;
    std::vector<std::string> boxes;
    for (const auto& shown : backend.shown)
      if (shown.kind == "ShowMessage") boxes.push_back(shown.text);
    return boxes;
  };
  bool busyWhileUnpacking = false;
  backend.onProcessMessages = [&] { busyWhileUnpacking = backend.busyCursor; };
  using Texts = std::vector<std::string>;
  EXPECT_EQ(open("clean.kvx"), Texts{});
  EXPECT_TRUE(busyWhileUnpacking);
  backend.formAnswers = {{"", TScriptedBackend::ClickCancel}, {"", TScriptedBackend::ClickCancel}};
  const std::string stays = "\n\nNone of its pages could be unpacked: the issue on screen stays.";
  EXPECT_EQ(open("locked.kvx"),
            Texts{"2 files of this issue could not be unpacked: wrong or missing password." + stays});
  EXPECT_EQ(open("damaged.kvx"), Texts{"1 file of this issue could not be unpacked: damaged data." + stays});
  EXPECT_EQ(
      open("noindex.kvx"),
      Texts{"This issue has no index.htm at its top: its first page cannot be shown.\n\nIt holds no page "
            "to show: the issue on screen stays."});
  std::ofstream(temp + "garbage.kvx") << std::string(3000, 'g');
  // Told in the box that offers to show what a cut issue holds; No ends the opening there.
  EXPECT_EQ(open("garbage.kvx"), Texts{});
  EXPECT_EQ(backend.shown.back().kind, "MessageDlg");
  EXPECT_EQ(backend.shown.back().text.rfind("This archive is not a valid Zip archive\n\n", 0), 0u);
  EXPECT_FALSE(backend.busyCursor);

  backend.shown.clear();
  backend.openDialogAnswers = {temp + "halfdamaged.kvx"};
  form->Apri1Click();
  EXPECT_EQ(view.browser.navigated.back(), Korvex(ContentsPageName));
  EXPECT_EQ(Boxes(backend), Texts{"1 file of this issue could not be unpacked: damaged data."});
  EXPECT_NE(ReadBytes(Korvex(ContentsPageName)).find("HREF=\"other.htm\""), std::string::npos);
  EXPECT_FALSE(fs::exists(Korvex("img")));
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
  std::ofstream(temp + "set00" + std::to_string(part) + ".zip", std::ios::app) << "trailing bytes";
  form->FormCreate();
  using Texts = std::vector<std::string>;
  {
    FakeKvxClient fake;
    fake.Reset(160, -1);
    fake.Step(kvxMessage, 12, 0, "beyond the limits");
    form->ZipComponent1().SetDLLDirectory(fake.Directory);
    backend.openDialogAnswers = {temp + "set00" + std::to_string(part) + ".zip"};
    form->Apri1Click();
    // Warnings came first (List's, then the join's of the same part): the failure is told all the same.
    const Texts boxes = Boxes(backend);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), "Warning - Garbage at the end of the zipfile!");
    EXPECT_EQ(boxes.back(),
              "2 files of this issue could not be unpacked: beyond the limits.\n\nNone of its pages could be "
              "unpacked: the issue on screen stays.");
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
  EXPECT_NE(page.find("<A HREF=\"sub/c.htm\">sub/c.htm</A>"), std::string::npos) << page;
}

// Each issue is unpacked into a folder that holds only the program's own start page; an archive that
// cannot be read leaves the issue on view as it is, and one kept in the folder is refused, not lost.
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
  EXPECT_EQ(files(), (Names{"hhhome.htm", "index.htm"}));
  backend.openDialogAnswers = {temp + "garbage.kvx"};
  form->Apri1Click();
  EXPECT_EQ(ReadBytes(Korvex("index.htm")), "<HTML><A HREF=extra.htm>2</A></HTML>");
  fs::create_directory(Korvex("kept"));
  fs::copy_file(temp + "first.kvx", Korvex("kept/first.kvx"));
  backend.openDialogAnswers = {Korvex("kept/first.kvx")};
  backend.shown.clear();
  form->Apri1Click();
  EXPECT_TRUE(fs::exists(Korvex("kept/first.kvx")));
  EXPECT_FALSE(fs::exists(Korvex("extra.htm")));
  ASSERT_EQ(Boxes(backend).size(), 1u);
  EXPECT_NE(Boxes(backend)[0].find("lies in the reader's working folder"), std::string::npos);
}
}  // namespace

namespace {
// An issue made of the given files.
std::string MakeIssue(const std::string& temp, const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& files) {
  const std::string tree = temp + name + ".src";
  for (const auto& [file, content] : files) {
    fs::create_directories(fs::path(tree + "/" + file).parent_path());
    std::ofstream(tree + "/" + file) << content;
  }
  EXPECT_EQ(std::system(("cd '" + tree + "' && zip -q -r '../" + name + ".kvx' .").c_str()), 0);
  return temp + name + ".kvx";
}

// A cancelled opening leaves the issue on screen, its files and its history; a new issue's history
// starts with its first page.
TEST_F(ShellTest, ACancelledOpeningLeavesTheIssueOnScreenAndANewIssueStartsItsHistory) {
  const std::string first = MakeIssue(temp, "first", {{"index.htm", "1"}, {"a.htm", "a"}});
  const std::string second = MakeIssue(temp, "second", {{"index.htm", std::string(300000, '2')}});
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {first};
  form->Apri1Click();
  view.browser.Navigate(Korvex("a.htm"));
  ASSERT_EQ(form->History().Count(), 2);
  EXPECT_EQ(form->History().Entry(0), Korvex("index.htm"));

  backend.openDialogAnswers = {second};
  backend.onProcessMessages = [&] {
    if (form->ZipComponent1().InOperation()) form->CancelOpening();
  };
  form->Apri1Click();
  EXPECT_EQ(ReadBytes(Korvex("index.htm")), "1");
  EXPECT_TRUE(fs::exists(Korvex("a.htm")));
  EXPECT_FALSE(fs::exists(UnpackingFolder()));
  EXPECT_EQ(form->History().Count(), 2);
  EXPECT_EQ(view.browser.navigated.back(), Korvex("a.htm"));
  EXPECT_TRUE(backend.shown.size() == 2u);  // the two open dialogs, no box
}

// An issue zipped with its top folder opens at that folder's index, where INDEX goes too; what an
// issue holds under the names of the reader's own pages is left out, with a word.
TEST_F(ShellTest, AnIssueInItsTopFolderOpensThereAndTheReadersPageNamesStayTheReaders) {
  const std::string issue = MakeIssue(
      temp, "folder", {{"numero-01/index.htm", "top"}, {"numero-01/hhhome.htm", "not at the top: kept"}});
  const std::string planted = MakeIssue(
      temp, "planted",
      {{"index.htm", "i"}, {"hhhome.htm", "planted"}, {"kvxlnkk.htm/x", "x"}, {"kvxcerca.htm", "p"}});
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {issue};
  form->Apri1Click();
  EXPECT_EQ(view.browser.navigated.back(), Korvex("numero-01/index.htm"));
  form->SpeedButton1Click();
  EXPECT_EQ(view.browser.navigated.back(), Korvex("numero-01/index.htm"));
  EXPECT_TRUE(Boxes(backend).empty());

  backend.openDialogAnswers = {planted};
  form->Apri1Click();
  EXPECT_EQ(Boxes(backend),
            std::vector<std::string>{"hhhome.htm, kvxlnkk.htm and kvxcerca.htm of this issue were left out: "
                                     "the reader keeps those names for pages of its own."});
  EXPECT_EQ(ReadBytes(Korvex("hhhome.htm")).rfind("<HTML>\r\n", 0), 0u);
  form->SpeedButton4Click();
  EXPECT_EQ(ReadBytes(Korvex("kvxlnkk.htm")), LinksPageBytes);
}

// One opening at a time: the open dialog asked for meanwhile is refused with a word, a file given
// meanwhile is opened after it.
TEST_F(ShellTest, WhatIsAskedDuringAnOpeningIsToldOrOpenedAfterIt) {
  const std::string first = MakeIssue(temp, "first", {{"index.htm", std::string(300000, '1')}});
  const std::string second = MakeIssue(temp, "second", {{"index.htm", "2"}});
  form->FormCreate();
  form->ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
  backend.openDialogAnswers = {first};
  backend.onProcessMessages = [&] {
    if (!form->ZipComponent1().InOperation() || backend.shown.size() > 1) return;
    form->Apri1Click();
    form->OpenIssueFile(second);
  };
  form->Apri1Click();
  EXPECT_EQ(Boxes(backend),
            std::vector<std::string>{
                "An issue is being opened: wait for it, or cancel it, before opening another."});
  EXPECT_EQ(ReadBytes(Korvex("index.htm")), "2");
  EXPECT_EQ(form->History().Count(), 1);
}
}  // namespace
