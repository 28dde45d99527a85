#pragma once
// Drives libkvx.so as the component does: fills a command record, records every callback and
// answers from a script. Plus the tree and shell helpers the library's tests share.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/Shell.h"
#include "tests/support/ZipWriter.h"
#include "zipformat/KvxLib.h"

struct KvxCall {
  std::int32_t Action = 0;
  std::int32_t Code = 0;
  std::int32_t Number = 0;
  std::string Text;
  char CommentByte = 0;
};

class KvxHarness {
 public:
  KvxHarness() {
    static void* library = dlopen(FOLIVO_BIN_DIR "/libkvx.so", RTLD_NOW);
    if (library) Exec = reinterpret_cast<KvxUnzipExecFunction>(dlsym(library, "KvxUnzipExec"));
    if (library) Version = reinterpret_cast<GetKvxUnzipVersionFunction>(dlsym(library, "GetKvxUnzipVersion"));
    Cmd.Version = kvxLibraryVersion;
    Cmd.Callback = &KvxHarness::Callback;
    Cmd.Caller = this;
    Cmd.Password = "";
    Cmd.Reserved40 = -1;
    Cmd.DirNamesFlag = -1;
    Cmd.OverwriteFlag = -1;
    Cmd.LayoutMarker = kvxLayoutMarker;
  }

  void SetSpecs(const std::vector<std::string>& specs) {
    FSpecTexts = specs;
    FSpecs.assign(specs.size(), UnzipFileSpec{});
    for (std::size_t i = 0; i < specs.size(); ++i) FSpecs[i].FileSpec = FSpecTexts[i].c_str();
    Cmd.Specs = FSpecs.data();
    Cmd.SpecCount = static_cast<std::int32_t>(specs.size());
  }

  // Extracts archive with folder as the current directory; the result of KvxUnzipExec.
  std::int32_t Run(const std::string& archive, const std::string& folder) {
    Calls.clear();
    FArchive = archive;
    Cmd.ArchiveName = FArchive.c_str();
    std::string saved = std::filesystem::current_path();
    EXPECT_EQ(chdir(folder.c_str()), 0);
    std::int32_t result = Exec ? Exec(&Cmd) : -100;
    EXPECT_EQ(chdir(saved.c_str()), 0);
    return result;
  }

  std::vector<KvxCall> Of(std::int32_t action) const {
    std::vector<KvxCall> out;
    for (const KvxCall& c : Calls)
      if (c.Action == action) out.push_back(c);
    return out;
  }
  // Skip reasons by entry name.
  std::map<std::string, int> Skips() const {
    std::map<std::string, int> out;
    for (const KvxCall& c : Of(kvxSkipped)) out[c.Text] = c.Number & 0xFF;
    return out;
  }

  UnzipCommandRecord Cmd{};
  KvxUnzipExecFunction Exec = nullptr;
  GetKvxUnzipVersionFunction Version = nullptr;
  std::vector<KvxCall> Calls;
  // Answers a callback by writing into the record; the result goes back to the library.
  std::function<std::int32_t(UnzipCallbackRecord&)> Answer;

 private:
  static std::int32_t Callback(UnzipCallbackRecord* r) {
    auto* self = static_cast<KvxHarness*>(r->Caller);
    KvxCall call{r->ActionCode, r->Code, r->Number, std::string(r->Text, strnlen(r->Text, sizeof r->Text)),
                 r->Text[256]};
    self->Calls.push_back(call);
    return self->Answer ? self->Answer(*r) : 0;
  }

  std::string FArchive;
  std::vector<std::string> FSpecTexts;
  std::vector<UnzipFileSpec> FSpecs;
};

// Runs a Python script (zipfile for crafted archives) with the given arguments.
inline int KvxPython(const std::string& folder, const std::string& script, const std::string& args = "") {
  WriteBytes(folder + "/make.py", script);
  int rc = Shell("python3 " + Quoted(folder + "/make.py") + " " + args + " >/dev/null 2>&1");
  std::filesystem::remove(folder + "/make.py");
  return rc;
}

// Every path below root mapped to its content; folders as "<dir>", links as "<link>".
inline std::map<std::string, std::string> KvxTree(const std::string& root) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> tree;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string rel = it->path().lexically_relative(root).string();
    if (it->is_symlink())
      tree[rel] = "<link>";
    else if (it->is_directory())
      tree[rel] = "<dir>";
    else
      tree[rel] = ReadBytes(it->path().string());
  }
  return tree;
}

// The paths where two trees differ, for failure messages; empty when they are equal.
inline std::string KvxTreeDiff(const std::map<std::string, std::string>& ours,
                               const std::map<std::string, std::string>& theirs) {
  std::string out;
  for (const auto& [path, data] : theirs) {
    auto it = ours.find(path);
    if (it == ours.end())
      out += " missing:" + path;
    else if (it->second != data)
      out += " differs:" + path;
  }
  for (const auto& [path, data] : ours)
    if (!theirs.count(path)) out += " extra:" + path;
  return out;
}
