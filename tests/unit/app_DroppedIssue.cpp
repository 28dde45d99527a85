// Which dropped file opens as an issue.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/DroppedIssue.h"

namespace fs = std::filesystem;

namespace {
TEST(DroppedIssue, KvxFileOrTheLastNumberedPartOnlyAndOneFileAtATime) {
  const fs::path folder = fs::temp_directory_path() / ("dropped-" + std::to_string(getpid()));
  fs::create_directories(folder / "folder.kvx");
  for (const char* name : {"issue.KVX", "notes.txt", "set001.zip", "set002.zip", "set003.zip", "lone001.zip",
                           "split.z01", "split.z02", "split.zip"})
    std::ofstream(folder / name) << "x";
  const auto issueOf = [&](std::vector<std::string> names) {
    for (auto& name : names) name = (folder / name).string();
    const std::string issue = IssueOfDrop(names);
    return issue.empty() ? issue : fs::path(issue).filename().string();
  };
  EXPECT_EQ(issueOf({"issue.KVX"}), "issue.KVX");
  EXPECT_EQ(issueOf({"set003.zip"}), "set003.zip");
  EXPECT_EQ(issueOf({"set002.zip"}), "");  // a later part exists
  EXPECT_EQ(issueOf({"set001.zip"}), "");
  EXPECT_EQ(issueOf({"lone001.zip"}), "");  // no set
  EXPECT_EQ(issueOf({"split.zip"}), "split.zip");
  EXPECT_EQ(issueOf({"split.z02"}), "");
  EXPECT_EQ(issueOf({"notes.txt"}), "");
  EXPECT_EQ(issueOf({"folder.kvx"}), "");
  EXPECT_EQ(issueOf({"missing.kvx"}), "");
  EXPECT_EQ(issueOf({"issue.KVX", "set003.zip"}), "");
  EXPECT_EQ(IssueFileProblem((folder / "missing.kvx").string()), "no such file");
  EXPECT_EQ(IssueFileProblem((folder / "folder.kvx").string()), "a folder");
  EXPECT_EQ(IssueFileProblem((folder / "notes.txt").string()), "not an issue");
  fs::remove_all(folder);
}
}  // namespace
