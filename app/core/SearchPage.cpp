#include "app/core/SearchPage.h"

#include "app/core/ContentsPage.h"
#include "classlib/TextFile.h"

namespace {
std::string PassageHtml(const std::vector<TPassagePart>& passage) {
  std::string html;
  for (const TPassagePart& part : passage)
    html += part.marked
                ? "<MARK STYLE=\"background-color:#DDFF00;color:#000000\">" + HtmlText(part.text) + "</MARK>"
                : HtmlText(part.text);
  return html;
}

std::string CountText(const TSearchResults& results) {
  const std::string words = "\"" + HtmlText(results.query) + "\"";
  if (results.words.empty()) return "Type one or more words to look for.";
  if (results.total == 0) return "No page of this issue holds " + words + ".";
  std::string text = results.total == 1 ? "One page holds " + words + "."
                                        : std::to_string(results.total) + " pages hold " + words + ".";
  if (results.shown.size() < results.total)
    text +=
        " The first " + std::to_string(results.shown.size()) + " are shown: add a word to narrow the search.";
  return text;
}
}  // namespace

void WriteSearchPage(const std::string& fileName, const TSearchResults& results) {
  TTextFileWriter page(fileName);
  page.WriteLine("<HTML>");
  page.WriteLine("<HEAD><META CHARSET=\"UTF-8\"><TITLE>Search: " + HtmlText(results.query) +
                 "</TITLE></HEAD>");
  page.WriteLine("<BODY BGCOLOR=#000000 TEXT=#DDFF00 LINK=#DDFF00 VLINK=#DDFF00 ALINK=#00FF00>");
  page.WriteLine("<FONT FACE=\"Verdana, arial, sans-serif\">");
  page.WriteLine("<H2>Search: " + HtmlText(results.query) + "</H2>");
  page.WriteLine("<P>" + CountText(results) + "</P>");
  for (const TSearchResult& result : results.shown) {
    // "./" first, so no name is read as a scheme or as another host ("//host/...").
    page.WriteLine("<P><A HREF=\"./" + FileLink(result.page) + "\">" + HtmlText(result.title) + "</A><BR>");
    page.WriteLine("<FONT SIZE=\"2\">" + HtmlText(result.page) + "</FONT><BR>");
    page.WriteLine(PassageHtml(result.passage) + "</P>");
  }
  page.WriteLine("</FONT>");
  page.WriteLine("</BODY></HTML>");
  page.Close();
}
