#pragma once

#include <string_view>

namespace vellcfgrdr {

// The lenient reading of numbers in text, shared by the ground layer (debug
// switch, slot texts) and the text helpers above it.
class CNumText {
  public:
    // The leading number of a text: leading blanks, a sign, digits with at
    // most one "." and an exponent ("E" or "D"), or "&H"/"&O" digits. The
    // rest is ignored; nothing readable gives 0.
    static double Val(std::string_view text) noexcept;
    // Whether the whole text, blanks aside, is a number that Val reads.
    static bool IsNumeric(std::string_view text) noexcept;
    // Halves to the even neighbour, as the stored projects' conversions round.
    static double RoundHalfEven(double value) noexcept;
};

}  // namespace vellcfgrdr
