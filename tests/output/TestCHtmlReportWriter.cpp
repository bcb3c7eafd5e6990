// The rack report: escaping, and the page as a browser renders it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <string>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "output/CHtmlReportWriter.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr::test {
namespace {

namespace fs = std::filesystem;

// A hostile name can add no markup, and bytes that are not UTF-8 or are
// control characters do not reach the page; a slot far out is drawn with a
// gap, not with two billion empty cells.
TEST(HtmlReport, TextsFromTheInputAreEscaped) {
    CIoConfig cfg;
    AttachShippedParts(cfg);
    cfg.SetProjectFileName("/plant/<script>alert(1)</script>.slc");
    ASSERT_TRUE(cfg.BusList().AddBus(0, "Local bus"));
    ASSERT_TRUE(cfg.DropList().AddDrop3(0, 1, 0, "\"><img src=x onerror=alert(1)>"));
    ASSERT_TRUE(cfg.RackList().AddRack(0, 1, 1, "R&D\x01\xff'"));
    cfg.ModuleList().SetModule(0, 1, 1, 2, "</li><style>*{display:none}</style>");
    cfg.ModuleList().SetModule(0, 1, 1, 2000000000, "FAR");
    const CHardwareView view(cfg, cfg.PartInfo());
    const std::string html = CHtmlReportWriter::Write(view, eReadWarnings, "Complete with warnings",
                                                      {{"<b>\x1b[2J", eMsgWarning, "x&y"}});

    EXPECT_TRUE(CUtf8::IsValidUtf8(html));
    for (const char* raw : {"<script", "<img", "</li><style", "<b>", "\x1b", "\x01"})
        EXPECT_EQ(html.find(raw), std::string::npos) << raw;
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(html.find("R&amp;D\xEF\xBF\xBD\xEF\xBF\xBD&#39;"), std::string::npos);
    EXPECT_NE(html.find("data-slot=\"2000000000\""), std::string::npos);
    EXPECT_LT(html.size(), 20000u);
}

std::string Chromium() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        for (const char* name : {"chromium", "chromium-browser"}) {
            const std::string file = dir + "/" + name;
            if (::access(file.c_str(), X_OK) == 0) return file;
        }
    return {};
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the browser headless on a page; its standard output and error are
// returned apart. A profile of its own keeps the runs of parallel builds
// from sharing one.
struct BrowserRun {
    int exit = -1;
    std::string out, err;
};
BrowserRun Browse(const std::string& chromium, const TempDir& scratch, const std::string& page,
                  const std::string& extra) {
    const std::string out = scratch.File("browser.out"), err = scratch.File("browser.err");
    const std::string command =
        "timeout 120 " + Quote(chromium) +
        " --headless --no-sandbox --disable-gpu --no-first-run --disable-extensions"
        " --enable-logging=stderr --v=0 --user-data-dir=" +
        Quote(scratch.File("profile")) + " " + extra + " " + Quote("file://" + page) + " >" +
        Quote(out) + " 2>" + Quote(err);
    BrowserRun run;
    run.exit = std::system(command.c_str());
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
}

// The report of a golden project in headless Chromium: no console message
// (a script error, or anything the page tried to fetch), every module of the
// golden XML in its rack and slot, each slot in the colour of its
// resolution, and a screenshot kept beside the build's test output.
TEST(HtmlReport, RendersInABrowserWithEveryModuleInItsSlot) {
    const std::string chromium = Chromium();
    if (chromium.empty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it for the tests)";
    const EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    const std::string golden = std::string(VELL_TEST_DATA) + "/e2e/skeinpro/skeinpro_second_rack";
    CPlcCfgReader reader;
    std::vector<CMessageRecord> messages;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& t, eMessageLevel l, const std::string& s) {
            messages.push_back({t, l, s});
        });
    const int32_t status = reader.ReadIOmap(golden + ".fef");
    const std::string html = reader.HtmlReport(status, messages);

    const TempDir scratch;
    const std::string page = scratch.Write("report.html", html);
    const std::string artifacts = VELL_TEST_ARTIFACTS;
    fs::create_directories(artifacts);
    const std::string shot = artifacts + "/rack_report.png";
    fs::remove(shot);
    const BrowserRun plain =
        Browse(chromium, scratch, page, "--window-size=1200,1600 --screenshot=" + Quote(shot));
    EXPECT_EQ(plain.exit, 0) << plain.err;
    EXPECT_TRUE(fs::exists(shot) && fs::file_size(shot) > 10000) << plain.err;
    // Console messages and refused fetches are logged as CONSOLE lines.
    EXPECT_EQ(plain.err.find("CONSOLE"), std::string::npos) << plain.err;

    // A copy with a probe script (the page itself runs none) lists each
    // slot with its rack, part, resolution and computed colour.
    std::string probe = html;
    const std::string policy = "style-src 'unsafe-inline'";
    probe.replace(probe.find(policy), policy.size(), policy + "; script-src 'unsafe-inline'");
    probe.replace(probe.rfind("</body>"), 7,
                  "<pre id=\"probe\"></pre><script>"
                  "const out = [];"
                  "for (const s of document.querySelectorAll('.rack .slot'))"
                  "  out.push([s.closest('.rack').dataset.topo, s.dataset.slot, s.dataset.part,"
                  "            s.dataset.res, getComputedStyle(s).backgroundColor].join('|'));"
                  "document.getElementById('probe').textContent = out.join('\\n');"
                  "</script></body>");
    const BrowserRun dom =
        Browse(chromium, scratch, scratch.Write("probe.html", probe), "--dump-dom");
    ASSERT_EQ(dom.exit, 0) << dom.err;
    const size_t begin = dom.out.find("<pre id=\"probe\">");
    ASSERT_NE(begin, std::string::npos) << dom.out;
    const size_t from = begin + 16;
    std::stringstream lines(dom.out.substr(from, dom.out.find("</pre>", from) - from));
    std::map<std::string, std::vector<std::string>> slots;  // "rack|slot" -> part, res, colour
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string x; std::getline(fields, x, '|');)
            f.push_back(x);
        f.resize(5);
        slots[f[0] + "|" + f[1]] = {f[2], f[3], f[4]};
    }

    const std::map<std::string, std::string> colours = {{"resolved", "rgb(220, 237, 200)"},
                                                        {"ambiguous", "rgb(255, 224, 130)"},
                                                        {"unresolved", "rgb(255, 205, 210)"},
                                                        {"empty", "rgb(250, 250, 250)"}};
    // The modules the browser shows where the golden XML has them (their
    // resolutions are the batch test's, for every golden project).
    std::set<std::string> shown, expected, resolutions;
    for (const auto& [key, slot] : slots) {
        resolutions.insert(slot[1]);
        ASSERT_TRUE(colours.contains(slot[1])) << key;
        EXPECT_EQ(slot[2], colours.at(slot[1])) << key;
        if (slot[1] != "empty") shown.insert(key + "|" + slot[0]);
    }
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_file((golden + ".expected.xml").c_str()));
    for (const pugi::xpath_node& n : xml.select_nodes("//rack/module"))
        expected.insert(std::string(n.node().parent().attribute("topoAddress").value()) + "|" +
                        n.node().attribute("position").value() + "|" +
                        n.node().attribute("partName").value());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(expected.size(), 9u);
    EXPECT_EQ(resolutions, (std::set<std::string>{"ambiguous", "empty", "resolved", "unresolved"}));
}

}  // namespace
}  // namespace vellcfgrdr::test
