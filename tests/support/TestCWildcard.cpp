#include <gtest/gtest.h>

#include "support/CWildcard.h"

using vellcfgrdr::CWildcard;

TEST(CWildcard, StarQuestionAndDigit) {
    EXPECT_TRUE(CWildcard::Matches("318CPU2411", "318CPU*"));
    EXPECT_TRUE(CWildcard::Matches("318CPU", "318CPU*"));
    EXPECT_FALSE(CWildcard::Matches("318cpu2411", "318CPU*"));  // case-sensitive
    EXPECT_TRUE(CWildcard::Matches("OSPE582613",
                                   "???"
                                   "?58*"));
    EXPECT_TRUE(CWildcard::Matches("1756-L63", "1756-L6#"));
    EXPECT_FALSE(CWildcard::Matches("1756-L6A", "1756-L6#"));
    EXPECT_FALSE(CWildcard::Matches("1756-L63X", "1756-L6#"));
    EXPECT_TRUE(CWildcard::Matches("abXcdYcd", "*cd"));
    EXPECT_TRUE(CWildcard::Matches("", "*"));
    EXPECT_FALSE(CWildcard::Matches("", "?"));
    EXPECT_TRUE(CWildcard::Matches("é", "?"));  // one character, two bytes
    EXPECT_TRUE(CWildcard::Matches("a*b", "a*b"));
}

TEST(CWildcard, BracketLists) {
    EXPECT_TRUE(CWildcard::Matches("1747-L532", "1747-L5[34]#"));
    EXPECT_FALSE(CWildcard::Matches("1747-L552", "1747-L5[34]#"));
    EXPECT_TRUE(CWildcard::Matches("k", "[a-z]"));
    EXPECT_TRUE(CWildcard::Matches("K", "[!a-z]"));
    EXPECT_TRUE(CWildcard::Matches("[x", "[x"));  // no closing bracket: literal
}

TEST(CWildcard, ManyStarsStayFast) {
    const std::string text(5000, 'a');
    EXPECT_FALSE(CWildcard::Matches(text, "*a*a*a*a*a*a*a*a*b"));
}
