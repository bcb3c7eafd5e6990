#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellcfgrdr {

// Composing and splitting the 16- and 32-bit values of byte files. A word is
// int16_t and a long int32_t; composition works on bit patterns, so a word
// whose high byte is 0x80 or more is negative.
//
// StrByte, StringToWord and WordToString work on byte strings: std::string
// used as a byte container, one char per byte, never decoded as UTF-8.
class CByteMath {
  public:
    static uint8_t HighByte(int16_t word) noexcept;
    static uint8_t LowByte(int16_t word) noexcept;
    static int16_t MakeWord(uint8_t high, uint8_t low) noexcept;
    static int16_t HighWord(int32_t value) noexcept;
    static int16_t LowWord(int32_t value) noexcept;
    static int32_t MakeLong(int16_t high, int16_t low) noexcept;

    // Pairs of hexadecimal digits, read leniently (an unreadable pair gives 0).
    // An empty text or one of odd length gives false and leaves bytes alone.
    static bool HexStringToByteArray(std::string_view hex, std::vector<uint8_t>& bytes);
    // First offset at or after start where pattern occurs; -1 when none (and
    // for an empty pattern or a negative start).
    static int32_t PatternOffset(int32_t start, std::span<const uint8_t> bytes,
                                 std::span<const uint8_t> pattern) noexcept;

    // The byte at a 1-based position; raises 5 outside the text.
    static uint8_t StrByte(std::string_view bytes, int32_t position);
    // Two bytes from a 1-based position; the first is the high byte when
    // bigEndian is set. Raises 5 unless both bytes are there.
    static int16_t StringToWord(std::string_view bytes, int32_t position, bool bigEndian);
    static std::string WordToString(int16_t word, bool bigEndian);

    // Shifts within 16 bits; a count outside 0..15 gives 0. The right shift
    // is logical (zeros come in at the top).
    static int16_t WordShiftL(int16_t word, int32_t count) noexcept;
    static int16_t WordShiftR(int16_t word, int32_t count) noexcept;

    // 2 to the power of bitIndex for 0..30, the sign bit for 31; any other
    // index raises 5.
    static int32_t PowerOfTwo(int32_t bitIndex);
};

}  // namespace vellcfgrdr
