#include "app/core/ContentsPage.h"

#include <cstdio>

#include "classlib/TextFile.h"

std::string HtmlText(const std::string& text) {
  std::string html;
  for (const char c : text) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      case '\'':
        html += "&#39;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

std::string FileLink(const std::string& name) {
  std::string link;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                       c == '/';
    if (plain) {
      link += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      link += escaped;
    }
  }
  return link;
}

void WriteContentsPage(const std::string& fileName, const std::string& issueName,
                       const std::vector<std::string>& pages) {
  TTextFileWriter page(fileName);
  page.WriteLine("<HTML>");
  page.WriteLine("<HEAD><META CHARSET=\"UTF-8\"><TITLE>" + HtmlText(issueName) + "</TITLE></HEAD>");
  page.WriteLine("<BODY BGCOLOR=#000000 TEXT=#DDFF00 LINK=#DDFF00 VLINK=#DDFF00 ALINK=#00FF00>");
  page.WriteLine("<FONT FACE=\"Verdana, arial, sans-serif\">");
  page.WriteLine("<H2>" + HtmlText(issueName) + "</H2>");
  page.WriteLine("<UL>");
  for (const std::string& name : pages)
    page.WriteLine("<LI><A HREF=\"" + FileLink(name) + "\">" + HtmlText(name) + "</A></LI>");
  page.WriteLine("</UL>");
  page.WriteLine("</FONT>");
  page.WriteLine("</BODY></HTML>");
  page.Close();
}
