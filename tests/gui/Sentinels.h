#pragma once
// What the hostile-pages tests watch the network with: a loopback web server that counts the
// connections made to it, and a name server that counts the lookups made by this process and
// everything it starts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace gui {

// Counts the connections made to it, and answers each with a page that would run script.
class TSentinelServer {
 public:
  TSentinelServer() {
    FSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(FSocket, reinterpret_cast<sockaddr*>(&address), length);
    listen(FSocket, 64);
    getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length);
    FPort = ntohs(address.sin_port);
    FThread = std::thread([this] {
      while (!FStop) {
        pollfd waiting{FSocket, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0) continue;
        const int client = accept(FSocket, nullptr, nullptr);
        if (client < 0) continue;
        ++FConnections;
        const std::string answer =
            "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<script>alert(1)</script>";
        write(client, answer.data(), answer.size());
        close(client);
      }
    });
  }
  ~TSentinelServer() {
    FStop = true;
    FThread.join();
    close(FSocket);
  }
  std::string Address() const { return "http://127.0.0.1:" + std::to_string(FPort); }
  int Port() const { return FPort; }
  int Connections() const { return FConnections; }

 private:
  int FSocket;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  std::atomic<int> FConnections{0};
  std::thread FThread;
};

// The only name server this process and its children know, on a loopback address of its own: its
// /etc/resolv.conf is replaced in a mount namespace of the process's own, so nothing else on the
// machine is touched. It answers nothing; Lookups() counts the queries that arrived. Needs root
// (the tests run as root in CI); elsewhere Installed() is false and nothing changes.
class TLoggingResolver {
 public:
  // Call before any thread starts: a mount namespace is the calling thread's alone.
  TLoggingResolver() {
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return;
    FSocket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    // An address of 127/8 that no resolver of the machine listens on.
    for (unsigned host = 0x7f35a001 + (static_cast<unsigned>(getpid()) & 0xfff) * 16; !FBound; ++host) {
      address.sin_addr.s_addr = htonl(host);
      FBound = bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      if (!FBound && (host & 0xf) == 0xf) return;
    }
    char name[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, name, sizeof name);
    char conf[] = "/tmp/folivo-resolv-XXXXXX";
    const int file = mkstemp(conf);
    const std::string text = std::string("nameserver ") + name + "\noptions timeout:1 attempts:1\n";
    FInstalled = file >= 0 && write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                 mount(conf, "/etc/resolv.conf", nullptr, MS_BIND, nullptr) == 0;
    if (file >= 0) close(file);
    unlink(conf);  // the mount holds it
  }
  bool Installed() const { return FInstalled; }
  // The queries that arrived since the last call, and the names they asked for.
  int Lookups(std::string& names) {
    int count = 0;
    unsigned char query[512];
    for (ssize_t size; FInstalled && (size = recv(FSocket, query, sizeof query, MSG_DONTWAIT)) >= 0;
         ++count) {
      // The question's name follows the 12-byte header as labels, each after its length.
      for (ssize_t at = 12; at < size && query[at] != 0 && at + 1 + query[at] <= size; at += query[at] + 1)
        names.append(reinterpret_cast<const char*>(query + at + 1), query[at]).append(".");
      names += " ";
    }
    return count;
  }

 private:
  int FSocket = -1;
  bool FBound = false;
  bool FInstalled = false;
};

}  // namespace gui
