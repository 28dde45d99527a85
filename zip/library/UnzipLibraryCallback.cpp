// The callback through which the unzip library reports progress and asks questions.
#include <algorithm>
#include <cstring>

#include "classlib/Application.h"
#include "platform/CodePage.h"
#include "zip/ComponentServices.h"
#include "zip/PasswordDlg.h"
#include "zip/ZipPaths.h"
#include "zip/library/UnzipLibrary.h"

namespace {
constexpr std::size_t TextSize = sizeof(UnzipCallbackRecord::Text);
// The repeat count handed back is at most this.
constexpr std::uint32_t MaxRepeatCount = 15;
// A library code's low byte is its error code; the rest says more about it.
constexpr std::int32_t ErrorCodeMask = 0xFF;

// The record's text up to its NUL, trailing blanks and control characters cut, "/" made "\".
std::string RecordText(const UnzipCallbackRecord& record) {
  const char* text = record.Text;
  std::size_t length = strnlen(text, TextSize);
  while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= ' ') --length;
  return ToBackslashes(std::string(text, length));
}

// Writes at most maxChars bytes of value and a NUL into the record's text.
void SetRecordText(UnzipCallbackRecord& record, const std::string& value, std::size_t maxChars) {
  const std::size_t length = std::min(value.size(), maxChars);
  std::memcpy(record.Text, value.data(), length);
  record.Text[length] = '\0';
}

void AnswerPassword(TComponentServices& zip, TUnzipLibrary& library, UnzipCallbackRecord& record,
                    const std::string& text) {
  std::string newPassword;
  std::uint32_t repeatCount = static_cast<std::uint32_t>(record.Number);
  if (zip.OnPasswordError)
    zip.OnPasswordError(zip.Sender(), newPassword, text, repeatCount);
  else
    library.AskPassword((record.Code & 1) != 0, newPassword);
  if (!newPassword.empty()) {
    SetRecordText(record, FirstCharacters(newPassword, PasswordMaxLength), TextSize - 1);
    record.Code = 1;
  } else {
    repeatCount = 0;
    record.Code = 0;
  }
  record.Number = static_cast<std::int32_t>(std::min<std::uint32_t>(repeatCount, MaxRepeatCount));
}

void AnswerNewName(TComponentServices& zip, UnzipCallbackRecord& record, const std::string& text) {
  if (!zip.OnSetNewName) return;
  std::string name = text;
  bool changed = false;
  zip.OnSetNewName(zip.Sender(), name, changed);
  if (changed) SetRecordText(record, name, TextSize - 1);
  record.Code = changed ? 1 : 0;
}

void AnswerCrcError(TComponentServices& zip, UnzipCallbackRecord& record, const std::string& text) {
  if (!zip.OnCRC32Error) {
    record.Code = 2;  // the library's own default
    return;
  }
  bool doExtract = true;
  zip.OnCRC32Error(zip.Sender(), text, static_cast<std::uint32_t>(record.Code),
                   static_cast<std::uint32_t>(record.Number), doExtract);
  record.Code = doExtract ? 1 : 0;
}

void AnswerOverwrite(TComponentServices& zip, UnzipCallbackRecord& record, const std::string& text) {
  if (!zip.OnExtractOverwrite) return;
  bool doOverwrite = (record.Number & 0xFF) != 0;
  zip.OnExtractOverwrite(zip.Sender(), text, (record.Code & 1) != 0, doOverwrite);
  record.Number = doOverwrite ? 1 : 0;
}

void AnswerComment(TComponentServices& zip, UnzipCallbackRecord& record, const std::string& text) {
  if (!zip.OnFileComment) return;
  std::string comment(1, record.Text[kvxCommentByteAt]);
  bool changed = false;
  zip.OnFileComment(zip.Sender(), text, comment, changed);
  if (changed && !comment.empty())
    SetRecordText(record, comment, TextSize - 1);
  else
    record.Text[0] = '\0';
  record.Code = changed ? 1 : 0;
  record.Number = static_cast<std::int32_t>(std::min<std::size_t>(comment.size(), TextSize - 1));
}

void ReportProgress(TComponentServices& zip, ProgressType type, const std::string& text,
                    std::int32_t number) {
  if (zip.OnProgress) zip.OnProgress(zip.Sender(), type, text, number);
}

void Act(TComponentServices& zip, TUnzipLibrary& library, UnzipCallbackRecord& record) {
  const std::string text = RecordText(record);
  switch (record.ActionCode) {
    case kvxFileStart:
      return ReportProgress(zip, ptFileStart, text, record.Number);
    case kvxWritten:
      return ReportProgress(zip, ptWritten, "", record.Number);
    case kvxBatchEnd:
      return ReportProgress(zip, ptBatchEnd, "", 0);
    case kvxFileCount:
      return ReportProgress(zip, ptFileCount, "", record.Number);
    case kvxByteCount:
      return ReportProgress(zip, ptByteCount, "", record.Number);
    case kvxMessage:
      library.NoteMessage(text, record.Code);
      if (zip.OnMessage) zip.OnMessage(zip.Sender(), record.Code, text);
      return;
    case kvxSkipped:
      library.NoteCode(record.Code);
      if (zip.OnExtractSkipped)
        zip.OnExtractSkipped(zip.Sender(), text, static_cast<UnZipSkipTypes>(record.Number & 0xFF),
                             record.Code);
      return;
    case kvxNewName:
      return AnswerNewName(zip, record, text);
    case kvxPassword:
      return AnswerPassword(zip, library, record, text);
    case kvxCrcError:
      return AnswerCrcError(zip, record, text);
    case kvxOverwrite:
      return AnswerOverwrite(zip, record, text);
    case kvxComment:
      return AnswerComment(zip, record, text);
    default:
      return;
  }
}
}  // namespace

void TUnzipLibrary::NoteCode(std::int32_t code) {
  if (code == 0) return;
  FZip.SetLibraryErrorCodes(code & ErrorCodeMask, code);
}

void TUnzipLibrary::NoteMessage(const std::string& text, std::int32_t code) {
  FZip.SetLastMessage(text);
  NoteCode(code);
}

void TUnzipLibrary::AskPassword(bool forAdding, std::string& password) {
  if (forAdding)
    FZip.AskAddPassword(password);
  else
    FZip.AskExtractPassword(password);
}

std::int32_t TUnzipLibrary::Callback(UnzipCallbackRecord* record) {
  if (!record || !record->Caller) return -1;
  TComponentServices& zip = ServicesOf(static_cast<TObject*>(record->Caller));
  TUnzipLibrary& library = zip.Library();
  if (library.FPendingError) return -1;
  try {
    Act(zip, library, *record);
    const bool cancel = zip.CancelRequested();
    Application.ProcessMessages();
    return cancel ? -1 : 0;
  } catch (...) {
    library.FPendingError = std::current_exception();
    return -1;
  }
}
