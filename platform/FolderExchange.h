#pragma once
// Two folders of one file system trading places.
#include <string>

// The folders at the two paths exchange names: at once where the file system can (no moment
// without either), else through a third name beside them. False, with both where they were,
// when neither way works.
bool ExchangeFolders(const std::string& first, const std::string& second);
