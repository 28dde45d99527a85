#pragma once
/* The command record of one call of the unzip library, its file pattern entries and the library's
   two exports. Plain C, shared by the component and the library. On a 32-bit build the records
   are byte for byte the library's layouts (148 and 16464 bytes); on 64-bit the same fields in the
   same order at native width. Flags are 32-bit booleans: -1 true, 0 false. Texts are
   NUL-terminated UTF-8. */
#include <stdint.h>

#include "zipformat/ZipCallback.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { kvxLayoutMarker = 7, kvxOldLayoutSpecSlots = 4097, kvxLibraryVersion = 160 };

/* What KvxUnzipExec returns when the run failed as a whole (out of memory, an internal fault); the
   reason came through the callback as a message. */
enum { kvxExecFailed = -1 };

typedef struct UnzipFileSpec {
  const char* FileSpec;
  int32_t Reserved[17];
} UnzipFileSpec;

/* Offsets 0 to 71, common to both layouts. */
#define KVX_UNZIP_COMMAND_HEAD                                                  \
  void* Handle;                   /*  0 window handle; 0 when unattended */     \
  void* Caller;                   /*  4 handed back in every callback record */ \
  int32_t Version;                /*  8 component version, 160 */               \
  UnzipCallbackFunction Callback; /* 12 */                                      \
  int32_t TraceFlag;              /* 16 */                                      \
  int32_t Reserved20;             /* 20 */                                      \
  const char* Password;           /* 24 */                                      \
  int32_t TestFlag;               /* 28 */                                      \
  int32_t Reserved32;             /* 32 */                                      \
  int32_t Reserved36;             /* 36 */                                      \
  int32_t Reserved40;             /* 40, always -1 */                           \
  int32_t VerboseFlag;            /* 44 */                                      \
  int32_t UpdateFlag;             /* 48 */                                      \
  int32_t FreshenFlag;            /* 52 */                                      \
  int32_t DirNamesFlag;           /* 56 */                                      \
  int32_t OverwriteFlag;          /* 60 */                                      \
  int32_t SpecCount;              /* 64 */                                      \
  const char* ArchiveName;        /* 68 */

/* Library versions 152 and above. */
typedef struct UnzipCommandRecord {
  KVX_UNZIP_COMMAND_HEAD
  UnzipFileSpec* Specs;     /*  72 SpecCount consecutive entries */
  int32_t Reserved76;       /*  76 */
  int32_t MemoryOutput;     /*  80 always 0 */
  void* MemoryBuffer;       /*  84 */
  int32_t MemorySize;       /*  88 */
  int32_t Reserved92[3];    /*  92 */
  int32_t PasswordReqCount; /* 104 version 160 and above */
  int32_t Reserved108[9];   /* 108 */
  int32_t LayoutMarker;     /* 144, 7 */
} UnzipCommandRecord;

/* Library versions below 152. */
typedef struct UnzipCommandRecordOld {
  KVX_UNZIP_COMMAND_HEAD
  int32_t LayoutMarker;                         /* 72, 7 */
  const char* SpecSlots[kvxOldLayoutSpecSlots]; /* 76 */
} UnzipCommandRecordOld;

/* No field names the destination: the library writes each entry below the process's current folder,
   which the caller enters before the call (the component enters ExtrBaseDir when it is set). */
typedef int32_t (*KvxUnzipExecFunction)(void* command);
typedef int32_t (*GetKvxUnzipVersionFunction)(void);

#if UINTPTR_MAX == 0xFFFFFFFFu
KVX_STATIC_ASSERT(sizeof(UnzipFileSpec) == 72, "file pattern entry layout");
KVX_STATIC_ASSERT(sizeof(UnzipCommandRecord) == 148, "command record layout");
KVX_STATIC_ASSERT(sizeof(UnzipCommandRecordOld) == 16464, "old command record layout");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecord, Password) == 24, "password offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecord, ArchiveName) == 68, "archive name offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecord, Specs) == 72, "pattern array offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecord, PasswordReqCount) == 104, "count offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecord, LayoutMarker) == 144, "marker offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecordOld, LayoutMarker) == 72, "old marker offset");
KVX_STATIC_ASSERT(__builtin_offsetof(UnzipCommandRecordOld, SpecSlots) == 76, "old slots offset");
#endif

#ifdef __cplusplus
}
#endif
