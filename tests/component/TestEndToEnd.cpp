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
// - every recipe "x.<ext>.recipe" among them: an input "x.<ext>"
//   built when the test runs by the builder of its extension (kBuilders),
//   for inputs best made from other files (a container of a database).
// "{dir}" in an expected file stands for the folder of the input. Every
// conversion runs with a temporary folder of its own, which must be empty
// of files afterwards: no reader leaves anything behind. A path into it is
// written "{tmp}/{user}/<prefix>-XXXXXX/...", as work folders are made
// under the per-user folder with a unique ending. Run with
// VELL_UPDATE_GOLDEN=1 to write the expected files of new cases (then read
// them before committing).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "TesselPwx.h"
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
    bool recipe = false;   // input is a recipe of the input to build
};

constexpr std::string_view kRecipe = ".recipe";

// Builders of inputs from recipes, by the extension of the input they make:
// (recipe text, folder of the recipe) -> the input's bytes.
const struct {
    std::string_view extension;
    std::string (*build)(const std::string&, const std::string&);
} kBuilders[] = {
    {".pwx", &test::PwxFromRecipe},
};

std::string Build(const fs::path& recipe) {
    const std::string extension = recipe.stem().extension().string();
    for (const auto& b : kBuilders)
        if (b.extension == extension)
            return b.build(test::ReadBytes(recipe.string()), recipe.parent_path().string());
    throw std::runtime_error("no builder for the recipe " + recipe.string());
}

// Regular files under a folder and its sub-folders.
std::vector<std::string> FilesIn(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.push_back(entry.path().string());
    return files;
}

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
    for (const auto& [root, prefix] : {std::pair{e2e, ""}, std::pair{bad, "bad/"}}) {
        for (const fs::path& file : FilesUnder(root)) {
            if (IsExpectedFile(file) || IsCompanionFile(file)) continue;
            if (file.extension() == kRecipe) {
                const fs::path built = file.parent_path() / file.stem();
                cases.push_back({prefix + fs::relative(built, root).string(), file.string(),
                                 (built.parent_path() / built.stem()).string(), true});
                continue;
            }
            cases.push_back({prefix + fs::relative(file, root).string(), file.string(),
                             (file.parent_path() / file.stem()).string()});
        }
    }
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

// The text with the temporary folder and the unique names of the folders
// made in it written as placeholders.
std::string Placeholders(std::string text, const std::string& dir, const std::string& tmp) {
    text = Replace(Replace(std::move(text), tmp, "{tmp}"), dir, "{dir}");
    static const std::regex work(R"(\{tmp\}/[^/\s]+/([A-Za-z0-9_]+)-[A-Za-z0-9]{6}(?=[/\s;]|$))");
    return std::regex_replace(text, work, "{tmp}/{user}/$1-XXXXXX");
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
    test::TempDir built;
    std::string input = c.input;
    if (c.recipe) input = built.Write(fs::path(c.input).stem().string(), Build(c.input));
    const std::string dir = fs::path(input).parent_path().string();
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    test::EnvGuard debug("Debugmode", nullptr);
    // The parts knowledge starts (once per process) before the temporary
    // folder is changed: its files stay where every test finds them.
    CPlcCfgReader reader;
    test::TempDir tmp;
    test::EnvGuard tmpdir("TMPDIR", tmp.Str().c_str());
    std::string messages;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            messages += std::string(MessageLevelName(level)) + " " + source + ": " + text + "\n";
        });
    std::string outcome;
    try {
        outcome = "status " + std::to_string(reader.ReadIOmap(input)) + "\n";
    } catch (const CVellError& e) {
        outcome = "raised " + std::to_string(e.Number()) + ": " + e.Description() + " (" +
                  e.Source() + ")\n";
    }
    EXPECT_EQ(FilesIn(tmp.Path()), std::vector<std::string>{}) << "left in the temporary folder";
    const std::string xml = reader.Xml();

    Check(Placeholders(xml, dir, tmp.Str()), c.expected + ".expected.xml");
    Check(Placeholders(outcome + messages, dir, tmp.Str()), c.expected + ".expected.messages");
}

INSTANTIATE_TEST_SUITE_P(Files, EndToEnd, ::testing::ValuesIn(Cases()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});
