// Whole conversions compared with expected files: the exchange XML and the
// list of messages (with the status first). "{dir}" in an expected file
// stands for the folder of the input.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "TestUtil.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

struct Case {
    std::string input;
    std::string expected;  // path without ".expected.xml" / ".expected.messages"
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
        text.replace(p, from.size(), to);
    return text;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const fs::path e2e = fs::path(VELL_TEST_DATA) / "e2e";
    for (const auto& entry : fs::directory_iterator(e2e)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".expected.") != std::string::npos) continue;
        cases.push_back({entry.path().string(), (e2e / entry.path().stem()).string()});
    }
    const fs::path examples = fs::path(VELL_SOURCE_DIR) / "examples";
    for (const auto& entry : fs::recursive_directory_iterator(examples))
        if (entry.is_regular_file())
            cases.push_back({entry.path().string(), (e2e / entry.path().stem()).string()});
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.input < b.input; });
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.input;
}

class EndToEnd : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(EndToEnd, MatchesTheExpectedDocumentAndMessages) {
    const Case& c = GetParam();
    const std::string dir = fs::path(c.input).parent_path().string();
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    CPlcCfgReader reader;
    std::string messages;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            messages += std::string(MessageLevelName(level)) + " " + source + ": " + text + "\n";
        });
    const int32_t status = reader.ReadIOmap(c.input);
    const std::string xml = reader.Xml();
    ::unsetenv("SOURCE_DATE_EPOCH");
    messages = "status " + std::to_string(status) + "\n" + messages;

    EXPECT_EQ(Replace(xml, dir, "{dir}"), test::ReadBytes(c.expected + ".expected.xml"));
    EXPECT_EQ(Replace(messages, dir, "{dir}"), test::ReadBytes(c.expected + ".expected.messages"));
}

INSTANTIATE_TEST_SUITE_P(Files, EndToEnd, ::testing::ValuesIn(Cases()), [](const auto& info) {
    std::string name = fs::path(info.param.input).filename().string();
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});
