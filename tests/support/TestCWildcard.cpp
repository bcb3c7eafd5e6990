#include <gtest/gtest.h>

#include <tuple>

#include "support/CWildcard.h"

using vellcfgrdr::CWildcard;

TEST(CWildcard, StarQuestionDigitAndBracketLists) {
    // Text, pattern, whether it matches.
    // clang-format off
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"318CPU2411", "318CPU*", true}, {"318CPU", "318CPU*", true},
        {"318cpu2411", "318CPU*", false},  // case-sensitive
        {"OSPE582613", "??" "??58*", true}, {"1756-L63", "1756-L6#", true},
        {"1756-L6A", "1756-L6#", false}, {"1756-L63X", "1756-L6#", false},
        {"abXcdYcd", "*cd", true}, {"", "*", true}, {"", "?", false},
        {"é", "?", true},  // one character, two bytes
        {"a*b", "a*b", true}, {"1747-L532", "1747-L5[34]#", true},
        {"1747-L552", "1747-L5[34]#", false}, {"k", "[a-z]", true}, {"K", "[!a-z]", true},
        {"[x", "[x", true},  // no closing bracket: literal
    };
    // clang-format on
    for (const auto& [text, pattern, match] : cases)
        EXPECT_EQ(CWildcard::Matches(text, pattern), match) << text << " " << pattern;
}

TEST(CWildcard, ManyStarsStayFast) {
    const std::string text(5000, 'a');
    EXPECT_FALSE(CWildcard::Matches(text, "*a*a*a*a*a*a*a*a*b"));
}
