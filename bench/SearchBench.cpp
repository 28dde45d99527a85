// The search across an issue on a generated issue of many pages: how long its index takes to build
// and how long a search takes to answer (the pages found, the passages of those shown and the
// results page written).
//   search-bench make FOLDER [PAGES]          writes an issue of PAGES pages (default 20000)
//   search-bench index FOLDER                 builds the index of its pages and prints
//                                             "index SECONDS pages N"
//   search-bench search FOLDER RUNS WORDS...  builds the index, then searches RUNS times and prints
//                                             "search MEDIAN_SECONDS min MIN max MAX found N"
// The generated pages are in 200 folders, each about 400 words of a 6000-word vocabulary, a word
// of their own ("pagina" and their number), "korvex" on every page, "perché" on every tenth, and
// every seventh page in windows-1252.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/core/SearchIndex.h"
#include "app/core/SearchPage.h"
#include "app/core/SearchResults.h"

namespace fs = std::filesystem;

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> Vocabulary(std::mt19937& random) {
  static const char* const syllables[] = {"ka", "ro", "vi", "te", "lo", "ma", "ni", "su", "pe", "da",
                                          "ri", "co", "ne", "sa", "tu", "ba", "le", "mi", "fo", "ga"};
  std::vector<std::string> words;
  for (int i = 0; i < 6000; ++i) {
    std::string word;
    for (int s = 2 + static_cast<int>(random() % 3); s > 0; --s) word += syllables[random() % 20];
    words.push_back(word);
  }
  return words;
}

int Make(const std::string& folder, int pageCount) {
  std::mt19937 random(27);
  const std::vector<std::string> words = Vocabulary(random);
  for (int page = 0; page < pageCount; ++page) {
    const fs::path path = fs::path(folder) / ("sezione" + std::to_string(page % 200)) /
                          ("articolo" + std::to_string(page) + ".htm");
    fs::create_directories(path.parent_path());
    const bool latin1 = page % 7 == 0;
    std::string html =
        latin1 ? "<html><head><meta charset=\"windows-1252\">" : "<html><head><meta charset=\"utf-8\">";
    html += "<title>Articolo " + std::to_string(page) +
            "</title><style>p { color: #ddff00 }</style></head><body>\n";
    for (int paragraph = 0; paragraph < 8; ++paragraph) {
      html += "<p>";
      for (int w = 0; w < 50; ++w) html += words[random() % words.size()] + (w % 9 == 8 ? ", " : " ");
      if (paragraph == 3) html += "pagina" + std::to_string(page) + " ";
      if (paragraph == 5 && page % 10 == 0) html += latin1 ? "perch\xE9 " : "perch&eacute; ";
      html += "</p>\n";
    }
    html += "<p><i>Korvex</i> &copy; 2003</p></body></html>\n";
    std::ofstream(path, std::ios::binary) << html;
  }
  return 0;
}

std::vector<std::string> PagesOf(const std::string& folder) {
  std::vector<std::string> pages;
  const std::string top = fs::path(folder).lexically_normal().string();
  for (const auto& entry : fs::recursive_directory_iterator(top))
    if (entry.is_regular_file() && entry.path().extension() == ".htm")
      pages.push_back(entry.path().string().substr(top.size() + (top.back() == '/' ? 0 : 1)));
  std::sort(pages.begin(), pages.end());
  return pages;
}

TSearchIndex Index(const std::string& folder, double* seconds) {
  const std::vector<std::string> pages = PagesOf(folder);
  const std::atomic<bool> cancelled{false};
  const auto start = Clock::now();
  std::optional<TSearchIndex> index = BuildSearchIndex(folder, pages, cancelled);
  *seconds = Since(start);
  return std::move(*index);
}

int Search(const std::string& folder, int runs, const std::string& query) {
  double seconds = 0;
  const TSearchIndex index = Index(folder, &seconds);
  const std::string resultsPage = (fs::temp_directory_path() / "search-bench-results.htm").string();
  std::vector<double> times;
  std::size_t found = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    const TSearchResults results = SearchIssue(index, folder, query);
    WriteSearchPage(resultsPage, results);
    times.push_back(Since(start));
    found = results.total;
  }
  fs::remove(resultsPage);
  std::sort(times.begin(), times.end());
  std::printf("search %.6f min %.6f max %.6f found %zu\n", times[times.size() / 2], times.front(),
              times.back(), found);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  if (command == "make") return Make(argv[2], argc > 3 ? std::atoi(argv[3]) : 20000);
  if (command == "index") {
    double seconds = 0;
    const TSearchIndex index = Index(argv[2], &seconds);
    std::printf("index %.3f pages %zu\n", seconds, index.PageCount());
    return 0;
  }
  if (command == "search" && argc > 4) {
    std::string query;
    for (int i = 4; i < argc; ++i) query += std::string(i > 4 ? " " : "") + argv[i];
    return Search(argv[2], std::max(1, std::atoi(argv[3])), query);
  }
  std::fprintf(stderr,
               "usage: search-bench make FOLDER [PAGES] | index FOLDER | search FOLDER RUNS WORDS...\n");
  return 2;
}
