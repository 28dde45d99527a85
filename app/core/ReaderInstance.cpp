#include "app/core/ReaderInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/core/DroppedIssue.h"
#include "platform/TempPath.h"

namespace {
constexpr std::size_t MaxRequestBytes = 4096;
constexpr char Accepted = 'y';
constexpr char Declined = 'n';
constexpr char Silent = '?';  // connected, but no answer came in time

bool AddressOf(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

void SetTimeout(int socket, int seconds) {
  const timeval timeout{seconds, 0};
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

bool FromThisUser(int socket) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

bool WriteAll(int socket, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = send(socket, data, size, MSG_NOSIGNAL);
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The whole request up to the sender's end of writing; false when it is longer than a path can be
// or does not end within a second.
bool ReadRequest(int socket, std::string& request) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  char buffer[512];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const timeval timeout{static_cast<time_t>(left.count() / 1000000),
                          static_cast<suseconds_t>(left.count() % 1000000)};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
    if (got == 0) return true;
    if (got < 0) return false;
    request.append(buffer, static_cast<std::size_t>(got));
    if (request.size() > MaxRequestBytes) return false;
  }
}

// A request names one file by its absolute path.
bool IsFileRequest(const std::string& request) {
  return !request.empty() && request[0] == '/' && request.find('\0') == std::string::npos;
}
}  // namespace

TReaderInstance::TReaderInstance(std::string folder)
    : FFolder(folder),
      FLockPath(folder + "folivo-reader.lock"),
      FSocketPath(folder + "folivo-reader.socket") {}

TReaderInstance::~TReaderInstance() {
  StopListening();
  // Removed while still held: a start that opened it meanwhile sees it gone and takes a new one.
  if (FHolding) unlink(FLockPath.c_str());
  if (FLock >= 0) close(FLock);
}

void TReaderInstance::StopListening() {
  if (FListening < 0) return;
  close(FListening);
  FListening = -1;
  unlink(FSocketPath.c_str());
}

TReaderInstance::TClaim TReaderInstance::Claim(const std::string& issue) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (TakeLock()) {
      Listen();
      return TClaim::First;
    }
    const char reply = HandOver(issue);
    if (reply == Accepted) return TClaim::HandedOver;
    if (reply == Declined) return TClaim::Refused;
    if (reply == Silent) return TClaim::Unreachable;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return TClaim::Unreachable;
}

bool TReaderInstance::TakeLock() {
  const auto openLock = [this] {
    return open(FLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  };
  if (FLock < 0) FLock = openLock();
  // The reader that ended meanwhile removed its private folder: it is made anew, as at the start.
  if (FLock < 0 && errno == ENOENT && PrivateTempFolder() == FFolder) FLock = openLock();
  if (FLock < 0 || flock(FLock, LOCK_EX | LOCK_NB) != 0) return false;
  // The lock holds only on the file that bears the name now, not on one its holder removed.
  struct stat held = {};
  struct stat named = {};
  if (fstat(FLock, &held) != 0 || stat(FLockPath.c_str(), &named) != 0 || held.st_dev != named.st_dev ||
      held.st_ino != named.st_ino) {
    close(FLock);
    FLock = -1;
    return false;
  }
  FHolding = true;
  return true;
}

// A socket file left by a reader that was killed is replaced: only the lock's holder gets here.
void TReaderInstance::Listen() {
  sockaddr_un address;
  if (!AddressOf(FSocketPath, address)) return;
  unlink(FSocketPath.c_str());
  FListening = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (FListening < 0) return;
  if (bind(FListening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(FListening, 8) != 0) {
    close(FListening);
    FListening = -1;
  }
}

char TReaderInstance::HandOver(const std::string& issue) {
  sockaddr_un address;
  if (!AddressOf(FSocketPath, address)) return 0;
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return 0;
  char reply = 0;
  // The reader may be busy unpacking an issue: its answer is waited for a while.
  SetTimeout(connection, 30);
  // A reader that ends meanwhile drops the connection: the lock is then tried again.
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      WriteAll(connection, issue.data(), issue.size()) && shutdown(connection, SHUT_WR) == 0) {
    errno = 0;
    if (recv(connection, &reply, 1, 0) != 1) reply = errno == EAGAIN || errno == EWOULDBLOCK ? Silent : 0;
  }
  close(connection);
  return reply;
}

bool AnswerHandover(int listening, std::string& issue) {
  issue.clear();
  const int connection = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
  if (connection < 0) return false;
  SetTimeout(connection, 1);
  std::string request;
  const bool wanted = FromThisUser(connection) && ReadRequest(connection, request) &&
                      (request.empty() || IsFileRequest(request));
  if (wanted) issue = request;
  const char reply = wanted && (issue.empty() || IssueFileProblem(issue).empty()) ? Accepted : Declined;
  WriteAll(connection, &reply, 1);
  close(connection);
  return wanted;
}
