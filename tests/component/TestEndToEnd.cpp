// The golden harness: whole conversions compared with expected files, the
// exchange XML and the list of messages (the status, or the raised error
// with its number, description and source, first).
//
// Cases are found recursively:
// - every file under tests/data/e2e/ and under tests/bad/ (the known-bad
//   inputs, one folder per reader) that is not an expected file, with its
//   expected files beside it ("x.slc" -> "x.expected.xml",
//   "x.expected.messages");
// - every example under examples/ and every sample export under
//   tests/data/samples/ of a format that has a reader, with its expected
//   files in tests/data/e2e/<key>/, the key of its format's reader
//   (ReaderDescription::key, such as "slc500").
// "{dir}" in an expected file stands for the folder of the input. Run with
// VELL_UPDATE_GOLDEN=1 to write the expected files of new cases (then read
// them before committing).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TestUtil.h"
#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

struct Case {
    std::string name;  // the path below its root, for the test name
    std::string input;
    std::string expected;  // path without ".expected.xml" / ".expected.messages"
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
        text.replace(p, from.size(), to);
    return text;
}

// The files a project reads beside the one it is given (Tessel Qor).
bool IsCompanionFile(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& ch : ext)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return ext == ".mdf" || ext == ".ddf" || ext == ".dpf" || ext == ".ndf" || ext == ".tdf";
}

bool IsExpectedFile(const fs::path& path) {
    return path.filename().string().find(".expected.") != std::string::npos;
}

// Files of the folder and its sub-folders, when it exists.
std::vector<fs::path> FilesUnder(const fs::path& root) {
    std::vector<fs::path> files;
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const fs::path e2e = fs::path(VELL_TEST_DATA) / "e2e";
    const fs::path bad = fs::path(VELL_SOURCE_DIR) / "tests" / "bad";
    for (const auto& [root, prefix] : {std::pair{e2e, ""}, std::pair{bad, "bad/"}})
        for (const fs::path& file : FilesUnder(root))
            if (!IsExpectedFile(file) && !IsCompanionFile(file))
                cases.push_back({prefix + fs::relative(file, root).string(), file.string(),
                                 (file.parent_path() / file.stem()).string()});
    // Real inputs kept elsewhere: their expected files go to the folder of
    // their format.
    for (const fs::path& root :
         {fs::path(VELL_SOURCE_DIR) / "examples", fs::path(VELL_TEST_DATA) / "samples"}) {
        for (const fs::path& file : FilesUnder(root)) {
            const ReaderDescription* reader = ReaderRegistry::DescribeFile(file.string());
            if (!reader) continue;  // a licence or read-me beside the samples
            const fs::path folder = e2e / std::string(reader->key);
            cases.push_back({root.filename().string() + "/" + fs::relative(file, root).string(),
                             file.string(), (folder / file.stem()).string()});
        }
    }
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.name < b.name; });
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.input;
}

// Compares, or with VELL_UPDATE_GOLDEN set writes, one expected file.
void Check(const std::string& actual, const std::string& expectedPath) {
    const char* update = ::getenv("VELL_UPDATE_GOLDEN");
    if (update && *update && *update != '0') {
        std::ofstream(expectedPath, std::ios::binary) << actual;
        return;
    }
    ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath << " is missing";
    EXPECT_EQ(actual, test::ReadBytes(expectedPath)) << expectedPath;
}

class EndToEnd : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(EndToEnd, MatchesTheExpectedDocumentAndMessages) {
    const Case& c = GetParam();
    const std::string dir = fs::path(c.input).parent_path().string();
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    test::EnvGuard debug("Debugmode", nullptr);
    CPlcCfgReader reader;
    std::string messages;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            messages += std::string(MessageLevelName(level)) + " " + source + ": " + text + "\n";
        });
    std::string outcome;
    try {
        outcome = "status " + std::to_string(reader.ReadIOmap(c.input)) + "\n";
    } catch (const CVellError& e) {
        outcome = "raised " + std::to_string(e.Number()) + ": " + e.Description() + " (" +
                  e.Source() + ")\n";
    }
    const std::string xml = reader.Xml();

    Check(Replace(xml, dir, "{dir}"), c.expected + ".expected.xml");
    Check(Replace(outcome + messages, dir, "{dir}"), c.expected + ".expected.messages");
}

INSTANTIATE_TEST_SUITE_P(Files, EndToEnd, ::testing::ValuesIn(Cases()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});
