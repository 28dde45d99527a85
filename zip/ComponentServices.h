#pragma once
// The component as its parts (the volumes, the join, the directory reader, the unzip library's
// binding) see it: its events, the options they read, its reports, the owner window, the password
// questions and the library's error codes. The parts take this instead of TZipComponent, which
// implements it.
#include <cstdint>
#include <string>

#include "classlib/StringList.h"
#include "zip/ZipTypes.h"

class TUnzipLibrary;

class TComponentServices : public TZipEvents {
 public:
  // The component, as the sender of its events.
  virtual TObject* Sender() = 0;

  // The options the parts read.
  virtual bool Verbose() const = 0;
  virtual bool Trace() const = 0;
  virtual bool Unattended() const = 0;
  virtual AddOpts AddOptions() const = 0;
  virtual ExtrOpts ExtrOptions() const = 0;
  virtual TStringList& FSpecArgs() = 0;
  virtual const std::string& Password() const = 0;
  virtual std::uint32_t PasswordReqCount() const = 0;
  virtual const std::string& DLLDirectory() const = 0;
  virtual CodePageOpts CodePage() const = 0;
  virtual DeleteOpts HowToDelete() const = 0;
  virtual bool UseDirOnlyEntries() const = 0;
  virtual void* OwnerWindow() const = 0;
  virtual bool CancelRequested() const = 0;

  // Messages: the table's text for id, else fallback; a report shown and passed to OnMessage.
  virtual std::string LoadMessageText(std::int32_t id, const std::string& fallback) const = 0;
  virtual void ReportMessage(std::int32_t id, const std::string& extra) = 0;

  // The password questions asked when no OnPasswordError handler answers; empty when none is given.
  virtual void AskExtractPassword(std::string& password) = 0;
  virtual void AskAddPassword(std::string& password) = 0;

  // The unzip library: the binding the component holds, and what its callback reports.
  virtual TUnzipLibrary& Library() = 0;
  virtual void SetLibraryErrorCodes(std::int32_t code, std::int32_t fullCode) = 0;
  virtual void SetLastMessage(const std::string& text) = 0;

  // Temporary archives: removing a file in the way, and a new unique name in TempDir or the
  // private temporary folder ("" when none can be had).
  virtual std::int32_t RemoveExistingFile(const std::string& fileName, DeleteOpts mode) = 0;
  virtual std::string NewTempArchiveName(const std::string& prefix, const std::string& extension) = 0;

 protected:
  ~TComponentServices() = default;
};

// The services of the component that sent an event or made a library call (its Caller).
TComponentServices& ServicesOf(TObject* sender);
