#include <gtest/gtest.h>

#include "core/CUtf8.h"

using namespace vellcfgrdr;

TEST(CUtf8, Cp1252HighRangeDecodesToTypographicCharacters) {
    EXPECT_EQ(CUtf8::FromCp1252("\x80\x93\x94\x9C"), "€“”œ");
    EXPECT_EQ(CUtf8::FromCp1252("caf\xE9"), "café");
    // Unassigned codes keep their C1 value rather than vanishing.
    EXPECT_EQ(CUtf8::FromCp1252("\x81"), "\xC2\x81");
    EXPECT_EQ(CUtf8::ToCp1252("€ café ✓"), "\x80 caf\xE9 ?");
    for (int c = 0; c < 256; ++c) {
        const std::string byte(1, static_cast<char>(c));
        EXPECT_EQ(CUtf8::ToCp1252(CUtf8::FromCp1252(byte)), byte) << c;
    }
}

TEST(CUtf8, Utf16AndInvalidUtf8) {
    EXPECT_EQ(CUtf8::FromUtf16Le(std::string("A\0\xE9\0\xAC\x20", 6)), "Aé€");
    EXPECT_EQ(CUtf8::FromUtf16Le(std::string("\x3D\xD8\x00\xDE", 4)), "😀");
    EXPECT_EQ(CUtf8::FromUtf16Le(std::string("\x3D\xD8", 2)), "\xEF\xBF\xBD");  // lone surrogate
    EXPECT_EQ(CUtf8::FromUtf8("ok\xFF\xC3"), "ok\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(CUtf8::FromUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong
    EXPECT_EQ(CUtf8::FromUtf8("naïve"), "naïve");
}

TEST(CUtf8, OutsideBytesAreUtf8OrElseWindows1252) {
    EXPECT_EQ(CUtf8::FromExternal("caf\xE9.slc"), "café.slc");
    EXPECT_EQ(CUtf8::FromExternal("café.slc"), "café.slc");
    // Sequence by sequence: a stray byte does not spoil the valid rest.
    EXPECT_EQ(CUtf8::FromExternal("/données/caf\xE9 \x80\xC3"), "/données/café €Ã");
    EXPECT_EQ(CUtf8::FromExternal("\xC0\xAF\xED\xA0\x80"),
              "À¯í\xC2\xA0€");  // overlong, surrogate
    EXPECT_EQ(CUtf8::FromExternal("\xEF\xBF\xBD"), "\xEF\xBF\xBD");
    for (int b = 0; b < 256; ++b)
        EXPECT_TRUE(CUtf8::IsValidUtf8(CUtf8::FromExternal(std::string(3, static_cast<char>(b)))));
}

TEST(CUtf8, CountsAndCutsCharacters) {
    const std::string s = "Réglé€x";
    EXPECT_EQ(CUtf8::Length(s), 7u);
    EXPECT_EQ(CUtf8::Left(s, 2), "Ré");
    EXPECT_EQ(CUtf8::Mid(s, 5), "€x");
    EXPECT_EQ(CUtf8::Mid(s, 1, 3), "égl");
    EXPECT_EQ(CUtf8::Right(s, 2), "€x");
    EXPECT_EQ(CUtf8::Left(s, 99), s);
    EXPECT_EQ(CUtf8::CharIndex(s, CUtf8::ByteOffset(s, 5)), 5u);
}

TEST(CUtf8, CaseInsensitiveComparisonCoversLatinLetters) {
    EXPECT_TRUE(CUtf8::EqualsNoCase("POS1", "pos1"));
    EXPECT_TRUE(CUtf8::EqualsNoCase("Équipé", "éQUIPÉ"));
    EXPECT_FALSE(CUtf8::EqualsNoCase("abc", "abcd"));
    EXPECT_LT(CUtf8::CompareNoCase("a", "B"), 0);
    EXPECT_EQ(CUtf8::ToUpper("straße œ"), "STRAßE Œ");
    EXPECT_EQ(CUtf8::ToLower("ÀB"), "àb");
    EXPECT_EQ(CUtf8::FindNoCase("Parent := Local", "LOCAL"), 10u);
    EXPECT_EQ(CUtf8::FindNoCase("xé", "É"), 1u);
    EXPECT_EQ(CUtf8::FindNoCase("abc", "abcd"), CUtf8::npos);
    EXPECT_TRUE(CUtf8::StartsWithNoCase("MODULE x", "module"));
}

TEST(CUtf8, TrimsSpacesOrBlanks) {
    EXPECT_EQ(CUtf8::Trim("  a b \t"), "a b \t");
    EXPECT_EQ(CUtf8::TrimBlanks(" \ta b \t"), "a b");
    EXPECT_EQ(CUtf8::Trim("   "), "");
}

TEST(CUtf8, FastSearchAgreesWithPlainComparison) {
    // Long lines go through the block search; every position and case mix
    // must give what a character-by-character comparison gives.
    const std::string needle = "ProcessorType";
    std::string hay(100, '.');
    for (size_t at = 0; at + needle.size() <= hay.size(); at += 7) {
        std::string h = hay;
        for (size_t i = 0; i < needle.size(); ++i)
            h[at + i] = (i % 2) ? static_cast<char>(CUtf8::ToUpperChar(needle[i])) : needle[i];
        EXPECT_EQ(CUtf8::FindNoCase(h, needle), at) << at;
        EXPECT_EQ(CUtf8::FindNoCase(h, needle, at + 1), CUtf8::npos) << at;
    }
    EXPECT_EQ(CUtf8::FindNoCase(std::string(40, 'p') + "rocessortypE", needle), 39u);
    EXPECT_EQ(CUtf8::FindNoCase("[@]", "{`}"), CUtf8::npos);  // case folding only for letters
    EXPECT_FALSE(CUtf8::StartsWithNoCase("[x", "{x"));
    EXPECT_TRUE(CUtf8::StartsWithNoCase("end_MODULE", "END_module"));
}
