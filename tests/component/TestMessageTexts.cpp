// Every message a host sees comes from the message table, so that it follows
// the chosen language: no posted text may start as an English literal.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "TestUtil.h"

namespace fs = std::filesystem;

TEST(MessageTexts, NoMessageIsPostedFromAnEnglishLiteral) {
    // InfoMessage("...", EvtInfoMessage.Raise("...", or either with
    // Sprintf("...", ...); debug-level messages are the developers' traces.
    const std::regex posted(R"((InfoMessage|\.Raise)\(\s*(CStdLib::Sprintf\(\s*)?")");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VELL_SOURCE_DIR) / "src")) {
        if (entry.path().extension() != ".cpp") continue;
        ++files;
        const std::string text = vellcfgrdr::test::ReadBytes(entry.path().string());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), posted);
             it != std::sregex_iterator(); ++it) {
            const size_t at = static_cast<size_t>(it->position());
            const std::string statement = text.substr(at, text.find(';', at) - at);
            if (statement.find("eMsgDebug") != std::string::npos) continue;
            ADD_FAILURE() << entry.path() << ": " << statement;
        }
    }
    EXPECT_GT(files, 20);
}
