#include <gtest/gtest.h>

#include "core/modResStr.h"

using namespace vellcfgrdr;

// A French text with other placeholders than its English one would format
// the wrong arguments, or read past them.
TEST(ModResStr, EveryMessageHasAFrenchTwinWithTheSamePlaceholders) {
    const auto placeholders = [](const std::string& s) {
        std::string p;
        for (size_t i = s.find('%'); i != std::string::npos; i = s.find('%', i + 1))
            p += s.substr(i, 2);
        return p;
    };
    int messages = 0;
    for (int32_t id = 0; id < 100000; id += 2) {
        const std::string en = modResStr::ResString(id, eguiLangEnglish);
        if (en == "?") continue;
        ++messages;
        const std::string fr = modResStr::ResString(id, eguiLangFrench);
        ASSERT_NE(fr, "?") << id;
        EXPECT_EQ(placeholders(en), placeholders(fr)) << id;
    }
    EXPECT_GT(messages, 50);
}
