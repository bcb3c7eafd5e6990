#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CBitArray32.h"
#include "support/CByteMath.h"
#include "support/CHexDump.h"

using namespace vellcfgrdr;
using test::CatchError;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

}  // namespace

TEST(CByteMath, WordsLongsShiftsAndPowersOfTwoOnBitPatterns) {
    EXPECT_EQ(CByteMath::MakeWord(128, 0), -32768);
    EXPECT_EQ(CByteMath::MakeWord(0xFF, 0xFE), -2);
    EXPECT_EQ(CByteMath::HighByte(-2), 0xFF);
    EXPECT_EQ(CByteMath::LowByte(-2), 0xFE);

    EXPECT_EQ(CByteMath::MakeLong(1, -1), 0x1FFFF);  // the low word counts unsigned
    EXPECT_EQ(CByteMath::MakeLong(-1, -1), -1);
    EXPECT_EQ(CByteMath::MakeLong(-32768, 0), INT32_MIN);
    EXPECT_EQ(CByteMath::HighWord(0x1FFFF), 1);
    EXPECT_EQ(CByteMath::LowWord(0x1FFFF), -1);
    for (int32_t v : {0x12345678, INT32_MIN, INT32_MAX, -65536})
        EXPECT_EQ(CByteMath::MakeLong(CByteMath::HighWord(v), CByteMath::LowWord(v)), v);

    // Shifts stay within 16 bits; a right shift is logical.
    EXPECT_EQ(CByteMath::WordShiftR(-1, 4), 4095);
    EXPECT_EQ(CByteMath::WordShiftR(-32768, 15), 1);
    EXPECT_EQ(CByteMath::WordShiftL(16385, 1), -32766);
    EXPECT_EQ(CByteMath::WordShiftL(-32767, 1), 2);
    EXPECT_EQ(CByteMath::WordShiftL(1, 15), -32768);
    for (int32_t count : {16, -1, 100}) {
        EXPECT_EQ(CByteMath::WordShiftL(1, count), 0) << count;
        EXPECT_EQ(CByteMath::WordShiftR(-1, count), 0) << count;
    }

    EXPECT_EQ(CByteMath::PowerOfTwo(0), 1);
    EXPECT_EQ(CByteMath::PowerOfTwo(30), 1 << 30);
    EXPECT_EQ(CByteMath::PowerOfTwo(31), INT32_MIN);
    for (int32_t index : {32, -1}) {
        const CVellError e = CatchError([index] { CByteMath::PowerOfTwo(index); });
        EXPECT_EQ(e.Number(), ErrNum::kInvalidCall);
        EXPECT_EQ(e.Description(), "BitInLong - invalid BitIndex: " + std::to_string(index));
    }
}

TEST(CByteMath, HexStringToByteArray) {
    std::vector<uint8_t> bytes{7};
    EXPECT_TRUE(CByteMath::HexStringToByteArray("0aFF", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{10, 255}));
    EXPECT_TRUE(CByteMath::HexStringToByteArray("zz1g", bytes));  // read leniently
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1}));

    bytes = {7};
    EXPECT_FALSE(CByteMath::HexStringToByteArray("ABC", bytes));
    EXPECT_FALSE(CByteMath::HexStringToByteArray("", bytes));
    EXPECT_EQ(bytes, std::vector<uint8_t>{7});
}

TEST(CByteMath, PatternOffsetFindsFirstPlaceAtOrAfterStart) {
    const auto hay = Bytes(std::string("AB\0CDAB\0", 8));
    const auto marker = Bytes(std::string("B\0", 2));
    EXPECT_EQ(CByteMath::PatternOffset(0, hay, Bytes("AB")), 0);
    EXPECT_EQ(CByteMath::PatternOffset(0, hay, marker), 1);
    EXPECT_EQ(CByteMath::PatternOffset(2, hay, marker), 6);
    EXPECT_EQ(CByteMath::PatternOffset(7, hay, marker), -1);  // would run past the end
    EXPECT_EQ(CByteMath::PatternOffset(0, hay, Bytes("ab")), -1);
    EXPECT_EQ(CByteMath::PatternOffset(99, hay, Bytes("A")), -1);
    EXPECT_EQ(CByteMath::PatternOffset(-1, hay, Bytes("A")), -1);
    EXPECT_EQ(CByteMath::PatternOffset(0, {}, Bytes("A")), -1);
}

TEST(CByteMath, ByteStringsGiveBytesAndWords) {
    const std::string data("\x12\x34\xFF", 3);
    EXPECT_EQ(CByteMath::StrByte(data, 3), 0xFF);
    EXPECT_EQ(CByteMath::StringToWord(data, 1, true), 0x1234);
    EXPECT_EQ(CByteMath::StringToWord(data, 1, false), 0x3412);
    EXPECT_EQ(CByteMath::StringToWord(data, 2, true), 0x34FF);
    EXPECT_EQ(CByteMath::StringToWord(data, 2, false), static_cast<int16_t>(0xFF34));

    EXPECT_EQ(CByteMath::WordToString(0x1234, true), "\x12\x34");
    EXPECT_EQ(CByteMath::WordToString(0x1234, false), "\x34\x12");
    EXPECT_EQ(CByteMath::StringToWord(CByteMath::WordToString(-2, false), 1, false), -2);

    EXPECT_EQ(CatchError([&] { CByteMath::StringToWord(data, 3, true); }).Number(), 5);
    EXPECT_EQ(CatchError([&] { CByteMath::StringToWord(data, 0, true); }).Number(), 5);
    EXPECT_EQ(CatchError([&] { CByteMath::StrByte(data, 4); }).Number(), 5);
}

TEST(CBitArray32, BitsIncludingTheSignBitAndNoneBeyond) {
    CBitArray32 bits;
    bits.SetBit(31, true);
    bits.SetBit(0, true);
    EXPECT_EQ(bits.AsLong(), INT32_MIN + 1);
    EXPECT_TRUE(bits.GetBit(31));
    bits.SetBit(31, false);
    EXPECT_EQ(bits.AsLong(), 1);
    bits.SetAll(true);
    bits.SetBit(4, false);
    EXPECT_EQ(bits.AsLong(), ~16);

    // An index outside the long raises 5 and changes nothing.
    bits.SetAll(false);
    EXPECT_EQ(CatchError([&] { bits.SetBit(32, true); }).Source(), "SetBit");
    EXPECT_EQ(CatchError([&] { bits.SetBit(32, false); }).Source(), "ResetBit");
    EXPECT_EQ(CatchError([&] { bits.SetBit(-1, true); }).Number(), 5);
    EXPECT_EQ(CatchError([&] { bits.GetBit(32); }).Number(), 5);
    EXPECT_EQ(CatchError([&] { bits.GetBit(-1); }).Number(), 5);
    EXPECT_EQ(bits.AsLong(), 0);
}

TEST(CHexDump, DumpLayoutAndItsCharacterColumn) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 18; ++i)
        bytes.push_back(static_cast<uint8_t>(0x41 + i));
    bytes[1] = 0x00;
    bytes[2] = 0x7F;
    bytes[17] = 0x20;
    const std::string dump = CHexDump::ToHex(bytes);
    EXPECT_EQ(dump,
              "00000000  41 00 7F 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  A..DEFGHIJKLMNOP\n"
              "00000010  51 20" +
                  std::string(14 * 3 + 2, ' ') + "Q ");
    EXPECT_EQ(CHexDump::ToHex(std::vector<uint8_t>{}), "* Empty *");
    EXPECT_EQ(CHexDump::ToHex(""), "* Empty *");
    // Text is dumped as its Windows-1252 bytes.
    EXPECT_EQ(CHexDump::ToHex("\xE2\x82\xAC"
                              "A"),
              "00000000  80 41" + std::string(14 * 3 + 2, ' ') + ".A");
    // The character column alone: sixteen bytes.
    EXPECT_EQ(CHexDump::MakePrintable("Brisk\x01\t7"), "Brisk..7");
    EXPECT_EQ(CHexDump::MakePrintable("0123456789ABCDEFGHIJ"), "0123456789ABCDEF");
    EXPECT_EQ(CHexDump::MakePrintable("\xC3\xA9t\xC3\xA9"), ".t.");  // one byte per character
    EXPECT_EQ(CHexDump::MakePrintable(Bytes(std::string("\xFFZ\0", 3))), ".Z.");
}
