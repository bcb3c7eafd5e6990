#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CTextReader.h"

using namespace vellcfgrdr;

namespace {

std::vector<std::string> Lines(CTextReader& r) {
    std::vector<std::string> out;
    while (!r.AtEnd())
        out.emplace_back(r.GetNextLine());
    return out;
}

std::vector<std::string> Lines(std::string text) {
    CTextReader r;
    r.SetText(std::move(text));
    return Lines(r);
}

using V = std::vector<std::string>;

}  // namespace

TEST(CTextReader, SplitsAtLfDroppingOneCrOrElseAtCr) {
    EXPECT_EQ(Lines("a\r\nb\r\n"), (V{"a", "b", ""}));
    // Mixed line ends (an LF export with a CR LF note appended, a CR LF
    // export whose first lines end in LF) lose no line.
    EXPECT_EQ(Lines("a\nb\r\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(Lines("a\r\nb\nc\n"), (V{"a", "b", "c", ""}));
    EXPECT_EQ(Lines("a\nb\n\nc"), (V{"a", "b", "", "c"}));
    // Only the one CR before the LF belongs to the line end.
    EXPECT_EQ(Lines("a\r\r\nb"), (V{"a\r", "b"}));
    // Without any LF, CR ends the lines (old Macintosh files).
    EXPECT_EQ(Lines("a\rb\r\rc"), (V{"a", "b", "", "c"}));
    EXPECT_EQ(Lines("a\rb\nc"), (V{"a\rb", "c"}));
    EXPECT_EQ(Lines(""), V{});

    CTextReader r;
    r.SetText("x\r\ny");
    EXPECT_EQ(r.LineNo(), 0);
    EXPECT_EQ(r.GetNextLine(), "x");
    EXPECT_EQ(r.LineNo(), 1);
    CTextReader copy = r;  // a short text lives inside the object
    r.SetText("other");
    EXPECT_EQ(copy.CurrLine(), "x");
    r = std::move(copy);
    EXPECT_EQ(r.CurrLine(), "x");
    EXPECT_EQ(r.GetNextLine(), "y");
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.GetNextLine(), "");
    EXPECT_EQ(r.LineNo(), 2);
    r.SetText("z");  // restarts
    EXPECT_EQ(r.LineNo(), 0);
    EXPECT_EQ(r.GetNextLine(), "z");
}

TEST(CTextReader, TrimmingBlankAndCommentLines) {
    const std::string text = " \t \r\n\t x \t\r\n   // c1\r\n\t// c2\r\nend";
    CTextReader plain;
    plain.SetSkipBlankLines(true);
    plain.SetLineCommentDelimiter("//");
    plain.SetText(text);
    // Untrimmed, spaces and tabs are not blank; a tab hides the comment mark.
    EXPECT_EQ(Lines(plain), (V{" \t ", "\t x \t", "\t// c2", "end"}));

    CTextReader trimmed;
    trimmed.SetTrimWhiteSpace(true);
    trimmed.SetSkipBlankLines(true);
    trimmed.SetLineCommentDelimiter("//");
    trimmed.SetText(text);
    EXPECT_EQ(trimmed.GetNextLine(), "x");
    EXPECT_EQ(trimmed.LineNo(), 2);
    EXPECT_EQ(trimmed.GetNextLine(), "end");
    EXPECT_EQ(trimmed.LineNo(), 5);  // skipped lines count
}

TEST(CTextReader, LineContainsAndRemainder) {
    CTextReader r;
    r.SetText("Parent := Local\r\nAé€b\r\nxyz");
    r.GetNextLine();
    EXPECT_TRUE(r.LineContains("parent "));
    // The character right after the match is dropped.
    EXPECT_EQ(r.Remainder(), "= Local");
    r.SetCaseSensitive(true);
    EXPECT_FALSE(r.LineContains("parent"));
    EXPECT_EQ(r.Remainder(), "Parent := Local");

    r.SetCaseSensitive(false);
    r.GetNextLine();
    EXPECT_TRUE(r.LineContains("aÉ"));
    EXPECT_EQ(r.Remainder(), "b");  // one character, three bytes, skipped
    EXPECT_TRUE(r.LineContains("A"));
    EXPECT_EQ(r.Remainder(), "€b");
    EXPECT_TRUE(r.LineContains("€B"));
    EXPECT_EQ(r.Remainder(), "");

    r.GetNextLine();
    EXPECT_TRUE(r.LineContains("z"));
    EXPECT_EQ(r.Remainder(), "");
}

TEST(CTextReader, LineStartsWithIgnoresSpacesButNotForTheRemainder) {
    CTextReader r;
    r.SetText("Slot := 3\r\n  Rack 2");
    r.GetNextLine();
    EXPECT_TRUE(r.LineStartsWith("SLOT "));
    EXPECT_EQ(r.Remainder(), ":= 3");
    EXPECT_FALSE(r.LineStartsWith("Rack"));
    EXPECT_EQ(r.Remainder(), ":= 3");  // left as it was

    r.GetNextLine();
    EXPECT_TRUE(r.LineStartsWith("Rack"));
    // The position counts from the untrimmed line.
    EXPECT_EQ(r.Remainder(), "ck 2");
}

TEST(CTextReader, ReadFileLoadsAndReportsFailures) {
    test::TempDir dir;
    CTextReader r;
    r.ReadFile(dir.Write("t.txt", "caf\xE9\r\nb"));
    EXPECT_EQ(Lines(r), (V{"café", "b"}));

    const std::string missing = dir.File("missing.txt");
    const CVellError e = test::CatchError([&] { r.ReadFile(missing); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.OsError(), ENOENT);
    // The innermost place is kept.
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.LoadTextFile(" + missing + ")");
}

// The fast skip against the plain way: line by line, the same line found,
// with the same number, whatever the line ends, blanks and keyword places.
TEST(CTextReader, SkippingToAKeywordLineMatchesReadingLineByLine) {
    std::mt19937 rng(7);
    const std::vector<std::string> pieces = {
        "MODULE x", "module", "END_MODULE", "end_controller",    "N: XIC(a)", "\t\t",
        " MODULE",  "MODUL",  "",           "\tEND_CONTROLLER;", "xMODULE",   std::string(40, 'z')};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r", " "};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % pieces.size()] + ends[rng() % ends.size()];
        CTextReader plain, fast;
        for (CTextReader* r : {&plain, &fast}) {
            r->SetTrimWhiteSpace(true);
            r->SetText(text);
            r->GetNextLine();
        }
        for (;;) {
            bool found = false;
            while (!plain.AtEnd()) {
                plain.GetNextLine();
                if (plain.LineStartsWith("MODULE") || plain.LineStartsWith("END_CONTROLLER")) {
                    found = true;
                    break;
                }
            }
            ASSERT_EQ(fast.SkipToLineStartingWith("MODULE", "END_CONTROLLER"), found) << text;
            ASSERT_EQ(fast.AtEnd(), plain.AtEnd()) << text;
            ASSERT_EQ(fast.LineNo(), plain.LineNo()) << text;
            if (!found) break;
            ASSERT_EQ(fast.CurrLine(), plain.CurrLine()) << text;
            ASSERT_EQ(fast.LineNo(), plain.LineNo()) << text;
        }
    }
}
