#pragma once
// One reader per user session. The first start holds a lock file in the private temporary folder
// for its whole run and listens on a socket beside it; a later start hands that reader its issue
// (or nothing, which only raises the window) and ends. The lock is an flock: it ends with the
// process that held it, so a reader that was killed leaves nothing that a later start obeys. The
// first start removes the lock file and the socket as it ends.
#include <string>

class TReaderInstance {
 public:
  enum class TClaim {
    First,        // this start is the reader
    HandedOver,   // the running reader took the request
    Refused,      // the running reader found no issue in the file handed to it
    Unreachable,  // a reader holds the lock but never answered
  };

  explicit TReaderInstance(std::string folder);  // the private temporary folder, with its "/"
  ~TReaderInstance();                            // the holder of the lock removes its file
  TReaderInstance(const TReaderInstance&) = delete;
  TReaderInstance& operator=(const TReaderInstance&) = delete;

  // Takes the lock, or hands issue (an absolute path, or "") to the reader that holds it. A reader
  // that is still starting or just ending is waited for a few seconds.
  TClaim Claim(const std::string& issue);
  // The socket that the first reader listens on (non-blocking), or -1.
  int ListeningSocket() const { return FListening; }
  // Closes the socket and removes its file; the lock stays until this object or its process ends.
  void StopListening();

 private:
  bool TakeLock();
  void Listen();
  // The reply of the reader on the socket, or 0 when none listens there.
  char HandOver(const std::string& issue);

  std::string FFolder;
  std::string FLockPath;
  std::string FSocketPath;
  int FLock = -1;
  bool FHolding = false;
  int FListening = -1;
};

// Answers one start waiting on the listening socket. Returns true when it asked for the window,
// with issue set to the file it names ("" for none), which the window opens or says why it cannot.
// The start is told the file was taken only when it is an issue. The request is untrusted: it must
// come from this user, end within a second and hold at most one absolute path; anything else is
// refused without a word to the window.
bool AnswerHandover(int listening, std::string& issue);
