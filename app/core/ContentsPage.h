#pragma once
// The page shown for an issue without index.htm: the issue's name and a link to each of its pages,
// at any depth. Names come from the archive: they are escaped in the text and in the links.
#include <string>
#include <vector>

// Written with CR LF line ends; the first failed step raises EInOutError.
void WriteContentsPage(const std::string& fileName, const std::string& issueName,
                       const std::vector<std::string>& pages);

// The text with &, <, >, " and ' written as HTML character references.
std::string HtmlText(const std::string& text);
// A relative link to a file of that name ("/" between folders): every byte but letters, digits,
// -._~ and "/" percent-encoded.
std::string FileLink(const std::string& name);
