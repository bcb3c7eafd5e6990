#include "support/CByteMath.h"

#include <algorithm>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

uint8_t CByteMath::HighByte(int16_t word) noexcept {
    return static_cast<uint8_t>(static_cast<uint16_t>(word) >> 8);
}

uint8_t CByteMath::LowByte(int16_t word) noexcept {
    return static_cast<uint8_t>(static_cast<uint16_t>(word) & 0xFF);
}

int16_t CByteMath::MakeWord(uint8_t high, uint8_t low) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>((high << 8) | low));
}

int16_t CByteMath::HighWord(int32_t value) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16));
}

int16_t CByteMath::LowWord(int32_t value) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF));
}

int32_t CByteMath::MakeLong(int16_t high, int16_t low) noexcept {
    const uint32_t bits =
        (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16) | static_cast<uint16_t>(low);
    return static_cast<int32_t>(bits);
}

bool CByteMath::HexStringToByteArray(std::string_view hex, std::vector<uint8_t>& bytes) {
    const size_t length = CUtf8::Length(hex);
    if (length == 0 || length % 2 != 0) return false;
    std::vector<uint8_t> out;
    out.reserve(length / 2);
    for (size_t i = 0; i < length; i += 2) {
        std::string digits = "&h";
        digits.append(CUtf8::Mid(hex, i, 2));
        const double v = CStdLib::Val(digits);
        // Two hexadecimal digits cannot leave 0..255; guard the cast anyway.
        out.push_back(v >= 0 && v <= 255 ? static_cast<uint8_t>(v) : 0);
    }
    bytes = std::move(out);
    return true;
}

int32_t CByteMath::PatternOffset(int32_t start, std::span<const uint8_t> bytes,
                                 std::span<const uint8_t> pattern) noexcept {
    if (start < 0 || pattern.empty() || static_cast<size_t>(start) >= bytes.size()) return -1;
    const auto it = std::search(bytes.begin() + start, bytes.end(), pattern.begin(), pattern.end());
    if (it == bytes.end()) return -1;
    return static_cast<int32_t>(it - bytes.begin());
}

uint8_t CByteMath::StrByte(std::string_view bytes, int32_t position) {
    if (position < 1 || static_cast<size_t>(position) > bytes.size())
        ModGSCore::RaiseError(
            "StrByte: position " + std::to_string(position) + " of " + std::to_string(bytes.size()),
            ErrNum::kInvalidCall);
    return static_cast<uint8_t>(bytes[position - 1]);
}

int16_t CByteMath::StringToWord(std::string_view bytes, int32_t position, bool bigEndian) {
    if (position < 1 || static_cast<size_t>(position) + 1 > bytes.size())
        ModGSCore::RaiseError("StringToWord: position " + std::to_string(position) + " of " +
                                  std::to_string(bytes.size()),
                              ErrNum::kInvalidCall);
    const auto first = static_cast<uint8_t>(bytes[position - 1]);
    const auto second = static_cast<uint8_t>(bytes[position]);
    return bigEndian ? MakeWord(first, second) : MakeWord(second, first);
}

std::string CByteMath::WordToString(int16_t word, bool bigEndian) {
    const char high = static_cast<char>(HighByte(word));
    const char low = static_cast<char>(LowByte(word));
    return bigEndian ? std::string{high, low} : std::string{low, high};
}

int16_t CByteMath::WordShiftL(int16_t word, int32_t count) noexcept {
    if (count < 0 || count > 15) return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint16_t>(word) << count));
}

int16_t CByteMath::WordShiftR(int16_t word, int32_t count) noexcept {
    if (count < 0 || count > 15) return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(word) >> count);
}

int32_t CByteMath::PowerOfTwo(int32_t bitIndex) {
    if (bitIndex < 0 || bitIndex > 31)
        throw CVellError(ErrNum::kInvalidCall,
                         "BitInLong - invalid BitIndex: " + std::to_string(bitIndex));
    return static_cast<int32_t>(uint32_t{1} << bitIndex);
}

}  // namespace vellcfgrdr
