#pragma once
// The command record of one KvxUnzipExec call, in the layout the library's version asks for,
// with every text and array it points to. All of it is freed when the object goes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zipformat/KvxLib.h"

class TComponentServices;

// The character the dummy password repeats for libraries below version 1.60.
constexpr char DummyPasswordChar = 'X';
constexpr int DummyPasswordLength = 80;

class TUnzipCommand {
 public:
  // Throws std::bad_alloc when memory runs out, and EZipComponent when the specs do not fit the
  // old layout (more than 4097 of them).
  TUnzipCommand(TComponentServices& zip, const std::string& archive, std::int32_t version);
  TUnzipCommand(const TUnzipCommand&) = delete;
  TUnzipCommand& operator=(const TUnzipCommand&) = delete;

  void* Record() const { return FRecord.get(); }

 private:
  struct FreeDeleter {
    void operator()(void* block) const;
  };
  using Block = std::unique_ptr<void, FreeDeleter>;

  const char* Copy(const std::string& text);
  // Keeps a zero-filled block of size bytes; throws std::bad_alloc.
  static Block Allocate(std::size_t size);

  Block FRecord;
  Block FSpecs;
  std::vector<Block> FTexts;
};
