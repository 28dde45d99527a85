// One reader per session: the lock, the handover of an issue and the checks on what arrives.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "app/core/CommandLine.h"
#include "app/core/ReaderInstance.h"
#include "tests/support/TempFiles.h"

namespace {
using TClaim = TReaderInstance::TClaim;

// Answers the first request that arrives within a few seconds; false when none did or it was refused.
bool AnswerNext(int listening, std::string& issue) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < end) {
    errno = 0;
    if (AnswerHandover(listening, issue)) return true;
    if (errno != EAGAIN) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// What a hostile client gets for a request written straight to the socket.
char RawReply(const std::string& socketPath, const std::string& request, int listening) {
  const int client = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, socketPath.c_str());
  EXPECT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(send(client, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
  shutdown(client, SHUT_WR);
  std::string issue;
  EXPECT_FALSE(AnswerNext(listening, issue));
  char reply = 0;
  EXPECT_EQ(recv(client, &reply, 1, 0), 1);
  close(client);
  return reply;
}

TEST(ReaderInstance, ALaterStartHandsOverOneIssueAndTheLockEndsWithItsHolder) {
  TTempFolder temp;
  const std::string folder = temp.Path() + "/";
  WriteBytes(temp / "issue.kvx", "x");
  WriteBytes(temp / "notes.txt", "x");
  auto first = std::make_unique<TReaderInstance>(folder);
  ASSERT_EQ(first->Claim(""), TClaim::First);
  const int listening = first->ListeningSocket();
  ASSERT_GE(listening, 0);

  const auto later = [&](const std::string& issue) {
    return std::async(std::launch::async, [&folder, issue] { return TReaderInstance(folder).Claim(issue); });
  };
  std::string issue = "stale";
  auto raise = later("");
  EXPECT_TRUE(AnswerNext(listening, issue));
  EXPECT_EQ(issue, "");
  EXPECT_EQ(raise.get(), TClaim::HandedOver);
  auto open = later(temp / "issue.kvx");
  EXPECT_TRUE(AnswerNext(listening, issue));
  EXPECT_EQ(issue, temp / "issue.kvx");
  EXPECT_EQ(open.get(), TClaim::HandedOver);
  // A file that is no issue reaches the window, which says why; the start that gave it is refused.
  auto notAnIssue = later(temp / "notes.txt");
  EXPECT_TRUE(AnswerNext(listening, issue));
  EXPECT_EQ(issue, temp / "notes.txt");
  EXPECT_EQ(notAnIssue.get(), TClaim::Refused);

  const std::string socketPath = folder + "folivo-reader.socket";
  EXPECT_EQ(RawReply(socketPath, "issue.kvx", listening), 'n');  // relative
  EXPECT_EQ(RawReply(socketPath, temp / "issue.kvx" + std::string(1, '\0') + "x", listening), 'n');
  EXPECT_EQ(RawReply(socketPath, std::string(5000, '/'), listening), 'n');

  first.reset();  // as the end of its process does, killed or not
  EXPECT_EQ(TReaderInstance(folder).Claim(""), TClaim::First);
}

TEST(ReaderArguments, OneIssueAsAPathOrAFileUriAndNothingElse) {
  using TAction = TReaderArguments::TAction;
  const auto parse = [](std::vector<std::string> words) { return ParseReaderArguments(words); };
  char* here = getcwd(nullptr, 0);
  const std::string cwd = here;
  free(here);
  EXPECT_EQ(parse({}).action, TAction::Start);
  EXPECT_EQ(parse({}).issue, "");
  EXPECT_EQ(parse({"a.kvx"}).issue, cwd + "/a.kvx");
  EXPECT_EQ(parse({"--", "-a.kvx"}).issue, cwd + "/-a.kvx");
  EXPECT_EQ(parse({"file:///tmp/a%20b%c3%a8.kvx"}).issue, "/tmp/a b\xc3\xa8.kvx");
  EXPECT_EQ(parse({"file://localhost/tmp/a.kvx"}).issue, "/tmp/a.kvx");
  EXPECT_EQ(parse({"--help"}).action, TAction::Help);
  EXPECT_EQ(parse({"--version"}).action, TAction::Version);
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"a.kvx", "b.kvx"},
                                                {"--open"},
                                                {""},
                                                {"file://host/a.kvx"},
                                                {"file:///a%00.kvx"},
                                                {"file:///a%4.kvx"}})
    EXPECT_EQ(parse(wrong).action, TAction::Wrong) << (wrong.empty() ? "" : wrong[0]);
}
}  // namespace
