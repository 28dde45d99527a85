// Names of an issue's files resolved as the system they were made on resolves them, and the
// addresses the engine and the shell use for them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/core/IssueAddress.h"
#include "app/core/IssueNames.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {
void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << file.filename().string();
}

TEST(IssueNames, CaseIgnoredFolderByFolderExactFirstArchiveOrderNextNeverOutside) {
  TTempFolder temp;
  const fs::path root = fs::path(temp.Path()) / "KORVEX";
  Touch(root / "INDEX.HTM");
  Touch(root / "articoli/pagina2.htm");
  Touch(root / "Ab.htm");
  Touch(root / "aB.htm");
  Touch(root / "AB.htm");
  Touch(root / "città/Perché.htm");
  Touch(fs::path(temp.Path()) / "secret.htm");
  fs::create_directory_symlink(temp.Path(), root / "link");
  TIssueNames names;
  names.NewIssue({"AB.htm", "aB.htm", "Ab.htm", "INDEX.HTM", "articoli/pagina2.htm"});
  const std::string top = root.string();

  EXPECT_EQ(names.Resolve(top, "index.htm"), top + "/INDEX.HTM");
  EXPECT_EQ(names.Resolve(top, "/Articoli/PAGINA2.HTM"), top + "/articoli/pagina2.htm");
  EXPECT_EQ(names.Resolve(top, "ARTICOLI\\Pagina2.htm"), top + "/articoli/pagina2.htm");
  EXPECT_EQ(names.Resolve(top, "CITTÀ/PERCHÉ.HTM"), top + "/città/Perché.htm");
  EXPECT_EQ(names.Resolve(top, "aB.htm"), top + "/aB.htm");  // the exact one
  EXPECT_EQ(names.Resolve(top, "ab.htm"), top + "/AB.htm");  // the first in the archive
  EXPECT_EQ(names.Resolve(top, "../secret.htm"), "");
  EXPECT_EQ(names.Resolve(top, "articoli/../../secret.htm"), "");
  EXPECT_EQ(names.Resolve(top, "link/secret.htm"), "");
  EXPECT_EQ(names.Resolve(top, "LINK/secret.htm"), "");
  EXPECT_EQ(names.Resolve(top, "index.htm/x"), "");

  // Listings last as long as the issue: a new one sees the files unpacked since.
  Touch(root / "Nuova.htm");
  EXPECT_EQ(names.Resolve(top, "NUOVA.HTM"), "");
  names.NewIssue({"Nuova.htm"});
  EXPECT_EQ(names.Resolve(top, "NUOVA.HTM"), top + "/Nuova.htm");
}

TEST(IssueAddress, PathsOfTheWorkingFolderTravelThroughTheSchemeAndComeBackAsAsked) {
  const std::string folder = "/run/user/7/KORVEX";
  const std::string engine = EngineAddress(folder + "/Articoli/una pagina#2.htm", folder, 3);
  EXPECT_EQ(engine, "korvex://issue3/Articoli/una%20pagina%232.htm");
  EXPECT_EQ(ShellAddress(engine, folder), folder + "/Articoli/una pagina#2.htm");
  EXPECT_EQ(IssuePathOf(engine + "?q#f", 3), "/Articoli/una pagina#2.htm");
  EXPECT_EQ(IssuePathOf(engine, 31), "");
  EXPECT_EQ(IssuePathOf("korvex://issue31/a.htm", 3), "");

  // A fragment is kept and the shell records the file: address, as for any local page.
  const std::string withFragment = EngineAddress("file://" + folder + "/a.htm#top", folder, 3);
  EXPECT_EQ(withFragment, "korvex://issue3/a.htm#top");
  EXPECT_EQ(ShellAddress(withFragment, folder), "file://" + folder + "/a.htm#top");

  EXPECT_EQ(EngineAddress(folder + "/../secret.htm", folder, 3), "");
  EXPECT_EQ(EngineAddress("/etc/passwd", folder, 3), "");
  EXPECT_EQ(EngineAddress("file:///etc/passwd", folder, 3), "");
  EXPECT_EQ(EngineAddress("http://example.org/", folder, 3), "");
}
}  // namespace
