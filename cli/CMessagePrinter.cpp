#include "CMessagePrinter.h"

#include <cstdio>

#include "ToolExit.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (i + len > s.size() || byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (size_t k = 2; k < len; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return len;
}

}  // namespace

std::string CMessagePrinter::Escaped(std::string_view s, bool json) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t len = Utf8SequenceLength(s, i);
        // U+0080..U+009F are C2 80..C2 9F.
        const bool c1 = len == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
        if (json && (c == '"' || c == '\\')) {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(s[i + 1]) : c;
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", code);
            out += esc;
            i += c1 ? 2 : 1;
        } else if (len > 0) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string CMessagePrinter::JsonString(std::string_view s) {
    return "\"" + Escaped(s, true) + "\"";
}

void CMessagePrinter::Message(int32_t level, std::string_view source, std::string_view text) const {
    if (quiet_ && level != eMsgError) return;
    const std::string_view name = MessageLevelName(level);
    if (json_) {
        Write(JsonObject(name, source, text) + "}\n");
    } else {
        std::string line = std::string(name) + ": ";
        if (!source.empty()) line.append(Escaped(source, false)).append(": ");
        Write(line.append(Escaped(text, false)).append("\n"));
    }
}

void CMessagePrinter::Failure(int32_t number, std::string_view plain, std::string_view source,
                              std::string_view text, std::string_view trace) const {
    if (json_)
        Write(JsonObject("error", source, text) + ",\"number\":" + std::to_string(number) +
              (trace.empty() ? "" : ",\"trace\":" + JsonString(trace)) + "}\n");
    else
        Write("error: " + Escaped(plain, false) + "\n");
}

void CMessagePrinter::Usage(std::string_view text, std::string_view usage) const {
    if (json_)
        Write(JsonObject("error", ToolExit::kSource, text) +
              ",\"exit\":" + std::to_string(ToolExit::kUsage) + "}\n");
    else
        Write("error: " + Escaped(text, false) + "\n" + std::string(usage));
}

void CMessagePrinter::Summary(int32_t status, std::string_view text,
                              const CConversionSummary& counts) const {
    if (quiet_) return;
    if (!json_) {
        Write("summary: " + Escaped(text, false) + "\n");
        return;
    }
    std::string line = JsonObject("summary", ToolExit::kSource, text);
    const auto add = [&line](const char* key, int64_t value) {
        line.append(",\"").append(key).append("\":").append(std::to_string(value));
    };
    add("status", status);
    add("buses", counts.buses);
    add("drops", counts.drops);
    add("racks", counts.racks);
    add("modules", counts.modules);
    add("resolved", counts.resolved);
    add("ambiguous", counts.ambiguous);
    add("unresolved", counts.unresolved);
    Write(line + "}\n");
}

void CMessagePrinter::Trace(std::string_view text, std::string_view source) const {
    Write(JsonObject("trace", source.empty() ? "VellCfgRdr" : source, text) + "}\n");
}

std::string CMessagePrinter::JsonObject(std::string_view level, std::string_view source,
                                        std::string_view text) {
    return "{\"level\":" + JsonString(level) + ",\"source\":" + JsonString(source) +
           ",\"text\":" + JsonString(text);
}

void CMessagePrinter::Write(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace vellcfgrdr
