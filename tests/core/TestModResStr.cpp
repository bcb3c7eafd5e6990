#include <gtest/gtest.h>

#include "core/modResStr.h"

using namespace vellcfgrdr;

namespace {

struct LanguageGuard {
    int32_t saved = modResStr::GetGuiLanguage();
    ~LanguageGuard() { modResStr::SetGuiLanguage(saved); }
};

}  // namespace

TEST(ModResStr, MessagesInBothLanguages) {
    LanguageGuard guard;
    modResStr::SetGuiLanguage(eguiLangEnglish);
    EXPECT_EQ(modResStr::ResString(180), "Reading %s");
    EXPECT_EQ(modResStr::ResString(180, eguiLangFrench), "Lecture de %s");
    modResStr::SetGuiLanguage(eguiLangFrench);
    EXPECT_EQ(modResStr::ResString(180), "Lecture de %s");
    EXPECT_EQ(modResStr::ResString(180, eguiLangEnglish), "Reading %s");
    EXPECT_EQ(modResStr::ResString(830), "<br><b>Veuillez noter :</b>");
}

TEST(ModResStr, EveryMessageHasAFrenchTwinWithTheSamePlaceholders) {
    for (int32_t id : {130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230,  240, 250,
                       260, 270, 280, 290, 300, 310, 320, 330, 710, 830, 1150, 1160}) {
        const std::string en = modResStr::ResString(id, eguiLangEnglish);
        const std::string fr = modResStr::ResString(id, eguiLangFrench);
        ASSERT_NE(en, "?") << id;
        ASSERT_NE(fr, "?") << id;
        auto placeholders = [](const std::string& s) {
            std::string p;
            for (size_t i = s.find('%'); i != std::string::npos; i = s.find('%', i + 1))
                p += s.substr(i, 2);
            return p;
        };
        EXPECT_EQ(placeholders(en), placeholders(fr)) << id;
    }
}

TEST(ModResStr, MissingMessagesGiveQuestionMark) {
    LanguageGuard guard;
    EXPECT_EQ(modResStr::ResString(0), "?");
    EXPECT_EQ(modResStr::ResString(99999), "?");
    modResStr::SetGuiLanguage(7);  // no range check: nothing is found
    EXPECT_EQ(modResStr::ResString(180), "?");
}
