#pragma once
// What `kvxtool list` prints: the directory as the component read it.
#include <cstdint>
#include <string>
#include <vector>

class TZipComponent;

struct ListedMessage {
  std::int32_t id;
  std::string text;
};

struct ListResult {
  std::vector<std::int32_t> seqNos;  // central directory position of each kept entry
  std::vector<ListedMessage> messages;
};

void PrintListJson(const TZipComponent& zip, const ListResult& result);
void PrintListTable(const TZipComponent& zip, const ListResult& result);
