#include "support/CHexDump.h"

#include <algorithm>

#include "core/CUtf8.h"

namespace vellcfgrdr {

namespace {

constexpr size_t kBytesPerLine = 16;
constexpr char kDigits[] = "0123456789ABCDEF";

char Printable(uint8_t b) {
    return b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '.';
}

std::span<const uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::string CHexDump::FormatByte2Hex(uint8_t value) {
    return std::string{kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string CHexDump::ToHex(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return "* Empty *";
    std::string out;
    out.reserve((bytes.size() / kBytesPerLine + 1) * 80);
    for (size_t line = 0; line < bytes.size(); line += kBytesPerLine) {
        if (line != 0) out.push_back('\n');
        const auto row = bytes.subspan(line, std::min(kBytesPerLine, bytes.size() - line));
        for (int shift = 28; shift >= 0; shift -= 4)
            out.push_back(kDigits[(line >> shift) & 0x0F]);
        out.append("  ");
        for (size_t i = 0; i < kBytesPerLine; ++i) {
            if (i != 0) out.push_back(' ');
            out.append(i < row.size() ? FormatByte2Hex(row[i]) : "  ");
        }
        out.append("  ");
        for (uint8_t b : row)
            out.push_back(Printable(b));
    }
    return out;
}

std::string CHexDump::ToHex(std::string_view text) {
    return ToHex(AsBytes(CUtf8::ToCp1252(text)));
}

std::string CHexDump::MakePrintable(std::string_view text) {
    return MakePrintable(AsBytes(CUtf8::ToCp1252(CUtf8::Left(text, kBytesPerLine))));
}

std::string CHexDump::MakePrintable(std::span<const uint8_t> bytes) {
    std::string out;
    for (uint8_t b : bytes.first(std::min(kBytesPerLine, bytes.size())))
        out.push_back(Printable(b));
    return out;
}

}  // namespace vellcfgrdr
