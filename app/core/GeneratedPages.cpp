#include "app/core/Main.h"
#include "classlib/TextFile.h"

const char* const PublisherAddress = "http://www.astralume.example/";

void WriteStartPage(const std::string& fileName) {
  static const char* const lines[] = {"<HTML>",  "<HEAD>", "</HEAD>", "<BODY BGCOLOR=#000000>",
                                      "</BODY>", "</HTML>"};
  WriteTextFile(fileName, lines, 6);
}

void WriteLinksPage(const std::string& fileName) {
  const std::string link = std::string("<A HREF=\"") + PublisherAddress + "\" TARGET=\"_new\">";
  const char* const lines[] = {
      "<HTML>",
      "<HEAD>",
      "</HEAD>",
      "<BODY BGCOLOR=#000000 LINK=#DDFF00 VLINK=#DDFF00 ALINK=#00FF00>",
      "<P ALIGN=\"CENTER\">",
      "<FONT SIZE=\"5\" FACE=\"Verdana, arial, sans-serif\" COLOR=#DDFF00>",
      "<BR><BR><BR><BR><BR>",
      link.c_str(),
      "<I>Connetti a Astralume</A></I></FONT></P>",
      "</BODY></HTML>",
  };
  WriteTextFile(fileName, lines, 10);
}
