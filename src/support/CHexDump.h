#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Hexadecimal dumps of byte data for messages. One line per 16 bytes:
//   "00000010  41 42 0D 00 ...  AB.."
// an 8-digit offset, the bytes as upper-case pairs (the last line padded so
// the character column lines up), and the bytes 0x20..0x7E as themselves,
// every other byte as ".". Lines are joined with "\n".
class CHexDump {
  public:
    static std::string FormatByte2Hex(uint8_t value);
    // "* Empty *" for no bytes.
    static std::string ToHex(std::span<const uint8_t> bytes);
    // The text is dumped as its Windows-1252 bytes.
    static std::string ToHex(std::string_view text);
    // The character column of the dump of the first 16 characters (bytes).
    static std::string MakePrintable(std::string_view text);
    static std::string MakePrintable(std::span<const uint8_t> bytes);
};

}  // namespace vellcfgrdr
