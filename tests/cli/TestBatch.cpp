// The batch driver, run in-process.

#include <algorithm>
#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "CBatchRunner.h"
#include "TestUtil.h"
#include "component/CVellBases.h"
#include "output/CHtmlReportWriter.h"

namespace vellcfgrdr::test {
namespace {

namespace fs = std::filesystem;

// Every file under a folder by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[e.path().lexically_relative(root).string()] = ReadBytes(e.path().string());
    return files;
}

CBatchRunner RunBatch(const CBatchRunner::Options& options) {
    CBatchRunner runner(options);
    runner.Collect();
    const std::atomic<bool> stop{false};
    EXPECT_TRUE(runner.Convert({}, stop));
    runner.WriteSummaries();
    return runner;
}

// The parts knowledge, the readers and the writers are shared by the threads
// of a batch: every golden project and example converted four at a time must
// give the bytes of one after another (XML, reports, index and summaries).
TEST(Batch, ParallelGivesTheBytesOfOneAfterAnother) {
    const EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    const TempDir out;
    CBatchRunner::Options options;
    options.inputs = {std::string(VELL_TEST_DATA) + "/e2e",
                      std::string(VELL_SOURCE_DIR) + "/examples"};
    options.report = true;
    options.jobs = 1;
    options.outDir = out.File("serial");
    fs::create_directories(options.outDir);
    const CBatchRunner serial = RunBatch(options);
    options.jobs = 4;
    options.outDir = out.File("parallel");
    fs::create_directories(options.outDir);
    const CBatchRunner parallel = RunBatch(options);

    const auto one = Tree(out.File("serial"));
    const auto four = Tree(out.File("parallel"));
    ASSERT_GT(one.size(), 100u);
    ASSERT_EQ(one.size(), four.size());
    for (const auto& [name, bytes] : one) {
        ASSERT_TRUE(four.contains(name)) << name;
        EXPECT_TRUE(four.at(name) == bytes) << name;
        // No temporary is left behind.
        EXPECT_NE(fs::path(name).filename().string().front(), '.') << name;
    }
    EXPECT_EQ(serial.ExitStatus(), parallel.ExitStatus());

    // Each report colours a rack as its XML marks it (partNumber, pickList or
    // an ignore flag), and shows every module of the XML in its slot:
    // ambiguous where the XML gives it a pick list, else resolved when the
    // catalogue knows the part.
    const auto parts = CVellBases::Instance().PartDb().PartInfo();
    size_t racks = 0;
    for (const auto& [name, bytes] : one) {
        if (!name.ends_with(".xml")) continue;
        const std::string html = one.at(name.substr(0, name.size() - 4) + ".html");
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(bytes.c_str())) << name;
        for (const pugi::xpath_node& n : xml.select_nodes("//rack")) {
            const pugi::xml_node rack = n.node();
            const std::string topo = rack.attribute("topoAddress").value();
            const std::string res = rack.attribute("partNumber") ? "resolved"
                                    : rack.child("pickList")     ? "ambiguous"
                                                                 : "unresolved";
            const std::string head = "<div class=\"rack\" data-topo=\"" + topo +
                                     "\">\n<div class=\"rack-head\">Rack " + topo +
                                     " <span class=\"badge " + res + "\"";
            const size_t at = html.find(head);
            ASSERT_NE(at, std::string::npos) << name << " " << head;
            ++racks;
            const std::string slots = html.substr(at, html.find("</ol>", at) - at);
            for (const pugi::xml_node m : rack.children("module")) {
                const std::string part = m.attribute("partName").value();
                const std::string slot =
                    "data-slot=\"" + CHtmlReportWriter::Escape(m.attribute("position").value()) +
                    "\" data-res=\"" +
                    (m.child("pickList")       ? "ambiguous"
                     : parts->PartExists(part) ? "resolved"
                                               : "unresolved") +
                    "\" data-part=\"" + CHtmlReportWriter::Escape(part) + "\"";
                EXPECT_NE(slots.find(slot), std::string::npos) << name << " " << topo << slot;
            }
        }
    }
    EXPECT_GT(racks, 50u);
}

// Bad files are rows of the summary; names stay apart whatever the inputs
// are called; the exit status is that of the worst file.
TEST(Batch, OneBadFileNeverStopsTheBatch) {
    const std::string slc = "start 1747-L532\r\nrack 1 1746-A7\r\nslot 1 1746-IB16\r\nladder\r\n";
    const TempDir in, out;
    in.Write("a/line.slc", slc);
    in.Write("b/line.slc", slc);
    in.Write("LINE.slc", slc);
    in.Write("line.slc", slc);
    in.Write("broken.slc", std::string("garbage\0\1", 9));
    in.Write(".hidden.slc", slc);
    in.Write("notes.txt", "not a project");
    in.Write("q/press.cfg", "");
    in.Write("q/press.env", "");  // read with its .cfg: one project
    const std::string index = in.Write("x/index", slc);

    CBatchRunner::Options options;
    options.inputs = {in.Str(), in.File("missing.slc"), index};
    options.outDir = out.Str();
    options.report = true;
    CBatchRunner runner = RunBatch(options);

    std::map<std::string, const CBatchRunner::Result*> byBase;
    for (const CBatchRunner::Result& r : runner.Results())
        byBase[r.base] = &r;
    std::vector<std::string> bases;
    for (const auto& [base, r] : byBase)
        bases.push_back(base);
    EXPECT_EQ(bases,
              (std::vector<std::string>{"LINE.slc", "a/line.slc", "b/line.slc", "broken.slc",
                                        "index.2", "line.slc.2", "missing.slc", "q/press.cfg"}));
    EXPECT_TRUE(byBase["a/line.slc"]->Converted());
    EXPECT_TRUE(fs::exists(out.File("line.slc.2.xml")));
    EXPECT_TRUE(fs::exists(out.File("b/line.slc.html")));
    EXPECT_EQ(byBase["broken.slc"]->status, 321);
    EXPECT_FALSE(fs::exists(out.File("broken.slc.xml")));
    EXPECT_TRUE(fs::exists(out.File("broken.slc.html")));  // what was read, and why it failed
    EXPECT_TRUE(byBase["missing.slc"]->raised);
    EXPECT_EQ(byBase["missing.slc"]->status, 53);
    EXPECT_EQ(byBase["index.2"]->status, 14001);
    EXPECT_EQ(runner.ExitStatus(), 2);

    const std::string csv = ReadBytes(out.File("summary.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 9);
    EXPECT_NE(csv.find("/a/line.slc,a/line.slc.xml,a/line.slc.html,SLC "
                       "500,0,converted,,SLC500,1747-L532,1,1,1,2,4,0,0,0,0\r\n"),
              std::string::npos)
        << csv;
    const std::string json = ReadBytes(out.File("summary.json"));
    EXPECT_NE(json.find("\"totals\":{\"files\":8,\"converted\":4,\"failed\":2,\"errors\":2}"),
              std::string::npos)
        << json;
    EXPECT_NE(ReadBytes(out.File("index.html")).find("href=\"LINE.slc.html\""), std::string::npos);

    // Without the errors raised, a failed status makes the exit status 1.
    options.inputs = {in.File("broken.slc"), in.File("line.slc")};
    EXPECT_EQ(RunBatch(options).ExitStatus(), 1);
}

}  // namespace
}  // namespace vellcfgrdr::test
