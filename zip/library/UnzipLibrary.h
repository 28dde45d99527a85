#pragma once
// The unzip library as one component sees it: its handle and entry points while loaded, and the
// exception a callback kept for the extraction to raise again.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/Win32Types.h"
#include "zipformat/KvxLib.h"

class TComponentServices;

// The library's file; the program's texts call it kvx.DLL.
extern const char* const UnzipLibraryFileName;  // "libkvx.so"

// First library version with the 148-byte command record, and with the password request count.
constexpr int UnzipNewLayoutVersion = 152;
constexpr int UnzipPasswordCountVersion = 160;

class TUnzipLibrary {
 public:
  explicit TUnzipLibrary(TComponentServices& zip) : FZip(zip) {}
  ~TUnzipLibrary() { Unload(); }
  TUnzipLibrary(const TUnzipLibrary&) = delete;
  TUnzipLibrary& operator=(const TUnzipLibrary&) = delete;

  // Loads from DLLDirectory when the file is there, else by name; failures are reported.
  void Load();
  void Unload();
  // The library's version; when not loaded, it is loaded only to ask and unloaded again.
  std::int32_t Version();

  HMODULE Handle() const { return FHandle; }  // null while not loaded
  KvxUnzipExecFunction ExecEntry() const { return FHandle ? FExecEntry : nullptr; }

  // An exception raised inside the callback never unwinds through the library: the callback
  // keeps it here and answers -1, and the extraction raises it again once KvxUnzipExec returns.
  std::exception_ptr TakeCallbackError();  // returns the kept exception and clears it
  void KeepCallbackError(std::exception_ptr error) { FPendingError = error; }

  // The function handed to the library; the record's caller is the component.
  static std::int32_t Callback(UnzipCallbackRecord* record);

  // What the callback writes into the component.
  void NoteCode(std::int32_t code);
  void NoteMessage(const std::string& text, std::int32_t code);
  void AskPassword(bool forAdding, std::string& password);

 private:
  TComponentServices& FZip;
  HMODULE FHandle = nullptr;
  KvxUnzipExecFunction FExecEntry = nullptr;
  GetKvxUnzipVersionFunction FVersionEntry = nullptr;
  std::exception_ptr FPendingError;
};
