#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/CNumText.h"
#include "support/FmtArg.h"

namespace vellcfgrdr {

// Lenient number reading, the "%" formatter used for every message with
// placeholders, and quoting helpers.
class CStdLib {
  public:
    // The leading number of a text: leading blanks, a sign, digits with at
    // most one "." and an exponent ("E" or "D"), or "&H"/"&O" digits. The
    // rest is ignored; nothing readable gives 0.
    static double Val(std::string_view text) noexcept { return CNumText::Val(text); }
    // Whether the whole text, blanks aside, is a number that Val reads:
    // a sign, digits with at most one "." and an optional exponent, or
    // "&H"/"&O" digits.
    static bool IsNumeric(std::string_view text) noexcept { return CNumText::IsNumeric(text); }
    // Val rounded to the nearest integer, halves to even. A value that does
    // not fit gives 0 and a debug trace.
    static int16_t Atoi(std::string_view text);
    static int32_t Atol(std::string_view text);
    static float Atof(std::string_view text);
    // Halves to the even neighbour, so that halves do not drift upwards when
    // stored values are rounded again and again.
    static double RoundHalfEven(double value) noexcept { return CNumText::RoundHalfEven(value); }

    // Directives "%[-][width](s|d|c|x)", "%%", and the escapes "\t" and "\n".
    // Raises 450 when the directives and arguments differ in number and 5 on
    // an unknown conversion.
    static std::string Sprintf(std::string_view format, const std::vector<FmtArg>& args);
    static std::string Sprintf(std::string_view format, std::initializer_list<FmtArg> args) {
        return Sprintf(format, std::vector<FmtArg>(args));
    }
    static std::string Sprintf(std::string_view format) {
        return Sprintf(format, std::vector<FmtArg>{});
    }

    static bool StringStartsWith(std::string_view text, std::string_view prefix,
                                 bool caseSensitive);
    static std::string QuoteString(std::string_view text);
    static std::string UnQuoteString(std::string_view text);
    static std::string_view StrC2B(std::string_view text) noexcept;
    // Piece n (1-based) of the text split at delimiter, or the last piece
    // when there are fewer; trimmed. Empty for an empty text or n < 1.
    // The text cut at every separator; an empty text gives one empty piece.
    static std::vector<std::string> Split(std::string_view text, char separator);
    static std::string GetNthOrLastTok(std::string_view text, int16_t n,
                                       std::string_view delimiter);
};

}  // namespace vellcfgrdr
