#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CStdLib.h"

using namespace vellcfgrdr;
using test::CatchError;
using test::ExpectEach;

TEST(CStdLib, NumbersAreReadLenientlyRoundedHalfToEvenAndZeroOnOverflow) {
    // clang-format off
    ExpectEach<int64_t>(CStdLib::Atol, {
        {"12abc", 12}, {"", 0}, {"1,5", 1}, {"  -42 rest", -42}, {"+7", 7}, {"x12", 0},
        {"1.5e2", 150}, {"1D3", 1000}, {"2E", 2}, {"&H1F", 31}, {"&hff", 255}, {"&O17", 15},
        {"&O18", 1}, {"-0.5", 0}, {"2147483647", 2147483647}, {"2147483648", 0}, {"1e400", 0}});
    ExpectEach<int64_t>(CStdLib::Atoi, {
        {"&H7FFF", 32767}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.51", 3}, {"32767", 32767},
        {"-32768", -32768}, {"32768", 0}, {"32767.5", 0}});
    // clang-format on
    EXPECT_FLOAT_EQ(CStdLib::Atof(".25x"), 0.25f);
    EXPECT_FLOAT_EQ(CStdLib::Atof("3.5.1"), 3.5f);
    EXPECT_EQ(CStdLib::Atof("1e39"), 0.0f);
}

TEST(CStdLib, SprintfDirectives) {
    EXPECT_EQ(CStdLib::Sprintf("%s_%s", {"A", "B"}), "A_B");
    EXPECT_EQ(CStdLib::Sprintf("%-4s|%3d|%x", {"ab", 7, 255}), "ab  |  7|ff");
    EXPECT_EQ(CStdLib::Sprintf("100%%"), "100%");
    EXPECT_EQ(CStdLib::Sprintf("%d%% of %s", {50, "x"}), "50% of x");
    EXPECT_EQ(CStdLib::Sprintf("[%05d]", {42}), "[   42]");  // never zero-filled
    EXPECT_EQ(CStdLib::Sprintf("%c%c", {65, 0xE9}), "Aé");
    EXPECT_EQ(CStdLib::Sprintf("%d", {2.5}), "2.5");
    EXPECT_EQ(CStdLib::Sprintf("%2s|", {"long"}), "long|");
    EXPECT_EQ(CStdLib::Sprintf("end %", {"x"}), "end x");
    EXPECT_EQ(CStdLib::Sprintf("a\\tb\\nc\\x"), "a\tb\r\nc\\x");
    EXPECT_EQ(
        CStdLib::Sprintf("Cannot resolve virtual module %s in rack %d, slot %d", {"M1", 2, -1}),
        "Cannot resolve virtual module M1 in rack 2, slot -1");

    EXPECT_EQ(CatchError([] { CStdLib::Sprintf("%s"); }).Number(), ErrNum::kWrongArgCount);
    EXPECT_EQ(CatchError([] { CStdLib::Sprintf("%s", {1, 2}); }).Number(), ErrNum::kWrongArgCount);
    EXPECT_EQ(CatchError([] { CStdLib::Sprintf("%f", {1}); }).Number(), ErrNum::kInvalidCall);
    const CVellError e = CatchError([] { CStdLib::Sprintf("%s %s", {1}); });
    EXPECT_EQ(e.Number(), ErrNum::kWrongArgCount);
    EXPECT_EQ(e.Description(), "Format string does not match arguments");
}

TEST(CStdLib, QuotingAndStringHelpers) {
    EXPECT_EQ(CStdLib::QuoteString("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(CStdLib::QuoteString(""), "\"\"");
    EXPECT_EQ(CStdLib::UnQuoteString("\"a\"\"b\""), "a\"b");
    EXPECT_EQ(CStdLib::UnQuoteString("\""), "");
    EXPECT_EQ(CStdLib::UnQuoteString("plain"), "plain");
    EXPECT_EQ(CStdLib::UnQuoteString(CStdLib::QuoteString("x\"\"y")), "x\"\"y");

    EXPECT_EQ(CStdLib::GetNthOrLastTok("a; b ;c", 2, ";"), "b");
    EXPECT_EQ(CStdLib::GetNthOrLastTok("a; b ;c", 9, ";"), "c");
    EXPECT_EQ(CStdLib::GetNthOrLastTok("a; b ;c", 0, ";"), "");
    EXPECT_EQ(CStdLib::GetNthOrLastTok("", 1, ";"), "");
    EXPECT_EQ(CStdLib::GetNthOrLastTok("a::b", 2, "::"), "b");
    EXPECT_EQ(CStdLib::GetNthOrLastTok("a;;b", 2, ";"), "");

    EXPECT_EQ(CStdLib::StrC2B(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(CStdLib::StrC2B("abc"), "abc");

    EXPECT_TRUE(CStdLib::StringStartsWith("Hello", "hE", false));
    EXPECT_FALSE(CStdLib::StringStartsWith("Hello", "hE", true));
    EXPECT_TRUE(CStdLib::StringStartsWith("Éa", "éA", false));
    EXPECT_TRUE(CStdLib::StringStartsWith("", "", true));
    EXPECT_FALSE(CStdLib::StringStartsWith("ab", "abc", false));
}

TEST(CStdLib, IsNumericWantsTheWholeText) {
    for (const char* yes : {"3", " -2.5 ", "1e3", "&H1F", "&o17", ".5", "+7."})
        EXPECT_TRUE(CStdLib::IsNumeric(yes)) << yes;
    for (const char* no : {"", " ", "12abc", "1,5", "e3", "&H", "&HG", "1e", "--1", "."})
        EXPECT_FALSE(CStdLib::IsNumeric(no)) << no;
}
