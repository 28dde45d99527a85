#pragma once
// The results page of a search of the issue, a page of the reader's own (SearchPageName, at the top
// of the working folder, so each result is a relative link to its page). Titles, passages and names
// come from the issue: everything is escaped, and every link stays a relative one.
#include <string>

#include "app/core/SearchResults.h"

// Written with CR LF line ends; the first failed step raises EInOutError.
void WriteSearchPage(const std::string& fileName, const TSearchResults& results);
