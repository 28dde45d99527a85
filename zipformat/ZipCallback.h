#pragma once
/* The record through which the unzip library calls the component back. Plain C: the library and
   the component both include it. Numbers are 32-bit little-endian; on a 32-bit build the record is
   byte for byte the library's layout, on 64-bit the same fields in the same order at native width. */
#include <stdint.h>

#ifdef __cplusplus
#define KVX_STATIC_ASSERT static_assert
#else
#define KVX_STATIC_ASSERT _Static_assert
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
  kvxFileStart = 1, /* number: entry size; text: entry name */
  kvxWritten = 2,   /* number: bytes just written */
  kvxBatchEnd = 3,
  kvxMessage = 4,    /* code: message code; text: message */
  kvxFileCount = 5,  /* number: entries to process */
  kvxByteCount = 6,  /* number: bytes to process */
  kvxNewName = 7,    /* text: name; answer: text, code 1 when changed */
  kvxPassword = 8,   /* code bit 0: add password; number: repeat count; answer: text, code, number */
  kvxCrcError = 9,   /* code: found CRC; number: expected CRC; answer: code 1 extract, 0 skip, 2 default */
  kvxOverwrite = 10, /* code bit 0: existing file is older; number: default answer; answer: number */
  kvxSkipped = 11,   /* code: error code; number low byte: skip reason */
  kvxComment = 12    /* text: entry name, text[256]: first comment byte; answer: text, code, number */
};

/* Where in the text of a kvxComment call the comment's first byte stands, after the name. */
enum { kvxCommentByteAt = 256 };

/* Skip reasons delivered with kvxSkipped (low byte of number). */
enum {
  kvxSkipOnFreshen = 1,
  kvxSkipNoOverwrite = 2,
  kvxSkipFileExists = 3,
  kvxSkipBadPassword = 4,
  kvxSkipNoEncryptionSupport = 5,
  kvxSkipCompressionUnknown = 6,
  kvxSkipUnknownZipVersion = 7,
  kvxSkipBadName = 8,
  kvxSkipCorrupt = 9,
  kvxSkipLink = 10,
  kvxSkipWriteError = 11
};

typedef struct UnzipCallbackRecord {
  int32_t LibraryHandle;  /* library's own */
  void* Caller;           /* the caller value of the command record */
  int32_t LibraryData[2]; /* library's own */
  int32_t ActionCode;     /* 1 to 12; anything else: no action */
  int32_t Code;
  int32_t Number;
  char Text[512];
} UnzipCallbackRecord;

typedef int32_t (*UnzipCallbackFunction)(UnzipCallbackRecord* record);

#if UINTPTR_MAX == 0xFFFFFFFFu
KVX_STATIC_ASSERT(sizeof(UnzipCallbackRecord) == 540, "callback record layout");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCallbackRecord, ActionCode) == 16, "action code offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCallbackRecord, Text) == 28, "text offset");
#endif

#ifdef __cplusplus
}
#endif
