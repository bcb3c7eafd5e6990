#include <gtest/gtest.h>

#include <vector>

#include "support/CStringTokenizer.h"

using namespace vellcfgrdr;

namespace {

using V = std::vector<std::string>;

// Every token, then the two empty results that follow the last.
V Tokens(CStringTokenizer& t, std::string_view source) {
    V out;
    t.SetSource(source);
    for (std::string tok; !(tok = t.NextToken()).empty();)
        out.push_back(tok);
    out.push_back(t.NextToken());
    return out;
}

}  // namespace

TEST(CStringTokenizer, RunsOfDelimitersCountAsOne) {
    CStringTokenizer t;
    EXPECT_EQ(Tokens(t, "a, b,,c"), (V{"a", "b", "c", ""}));
    EXPECT_EQ(Tokens(t, " ,, "), (V{""}));
    EXPECT_EQ(Tokens(t, ""), (V{""}));

    // The delimiter that ends a token stays for the next call.
    EXPECT_EQ(t.FirstToken("a;b c", ";"), "a");
    EXPECT_EQ(t.Remainder(), ";b c");
    EXPECT_EQ(t.NextToken(), "b c");  // ";" stays the delimiter

    t.SetDelimiters(",");
    t.SetTrimToken(true);
    EXPECT_EQ(Tokens(t, " a , b "), (V{"a", "b", ""}));
}

TEST(CStringTokenizer, QuotedTokensStayWhole) {
    CStringTokenizer t;
    t.SetDelimiters(",");
    t.SetQuoted(true);
    EXPECT_EQ(Tokens(t, "x,\"a,b\",y"), (V{"x", "\"a,b\"", "y", ""}));
    EXPECT_EQ(Tokens(t, "\"say \"\"hi\"\"\",z"), (V{"\"say \"\"hi\"\"\"", "z", ""}));
    EXPECT_EQ(Tokens(t, "\"abc"), (V{"\"abc", ""}));
    // Characters after the closing quote start the next token.
    EXPECT_EQ(Tokens(t, "\"a\"b,c"), (V{"\"a\"", "b", "c", ""}));
    // A doubled quote does not open a quoted token.
    EXPECT_EQ(Tokens(t, "\"\",\"x y\""), (V{"\"\"", "\"x y\"", ""}));
    // Masked doubled quotes match no delimiter, even one set later.
    t.SetSource("a\"\"b¥c d");
    EXPECT_EQ(t.NextToken(" ¥"), "a\"\"b");

    // Quoted acts from the next source.
    t.SetSource("\"a,b\"");
    t.SetQuoted(false);
    EXPECT_EQ(t.NextToken(","), "\"a,b\"");
    t.SetSource("\"a,b\"");
    EXPECT_EQ(t.NextToken(), "\"a");
}

TEST(CStringTokenizer, NonAsciiDelimitersMatchWholeCharacters) {
    CStringTokenizer t;
    t.SetDelimiters("§");
    EXPECT_EQ(Tokens(t, "é§ü§§x"), (V{"é", "ü", "x", ""}));
    // "©" shares its lead byte with "§".
    EXPECT_EQ(Tokens(t, "a©b§c"), (V{"a©b", "c", ""}));
    // A malformed lead byte in the text is no delimiter either.
    EXPECT_EQ(Tokens(t, "a\xC2§b"), (V{"a\xC2", "b", ""}));
    EXPECT_TRUE(t.IsDelimiter("§"));
    EXPECT_FALSE(t.IsDelimiter("©"));
    EXPECT_FALSE(t.IsDelimiter(""));
}

TEST(CStringTokenizer, CursorOperationsCountCharacters) {
    CStringTokenizer t;
    EXPECT_EQ(t.Remainder(), "");
    EXPECT_EQ(t.PeekChar(), "");
    EXPECT_EQ(t.NextToken(), "");

    t.SetDelimiters(";");
    t.SetSource("ÄB=cd;;ef");
    EXPECT_EQ(t.FindNext("="), 3);  // characters, not bytes
    EXPECT_EQ(t.FindNext("äb"), 1);
    EXPECT_EQ(t.FindNext("zz"), 0);
    EXPECT_EQ(t.SubStringUpTo(""), "");  // looks for NUL
    EXPECT_EQ(t.SubStringUpTo("="), "ÄB");
    EXPECT_EQ(t.Remainder(), "cd;;ef");
    EXPECT_EQ(t.FindNext("b"), 0);  // only at or after the cursor
    EXPECT_TRUE(t.SkipOver("CD"));
    EXPECT_EQ(t.NextDelimiters(), ";;");
    EXPECT_EQ(t.NextDelimiters(), "");

    t.SetCaseSensitive(true);
    EXPECT_FALSE(t.SkipOver("EF"));
    EXPECT_EQ(t.SubStringUpTo("F"), "");
    EXPECT_EQ(t.Remainder(), "ef");
    EXPECT_EQ(t.NextChar(), "e");
    EXPECT_EQ(t.PeekChar(), "f");
    EXPECT_EQ(t.NextChar(), "f");
    EXPECT_EQ(t.NextChar(), "");
    EXPECT_EQ(t.Remainder(), "");

    t.SetSource("é€x");
    EXPECT_EQ(t.NextChar(), "é");
    EXPECT_EQ(t.NextChar(), "€");
    EXPECT_EQ(t.Remainder(), "x");
}
