#include "readers/CReaderKit.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

int32_t CReaderKit::NotOurFormat() const {
    root_.InfoMessage(modResStr::ResString(msgUnknownFileFormat) + ": " + root_.ProjectFileName(),
                      eMsgError, source_);
    return ErrNum::kBadFileFormat;
}

std::optional<int32_t> CReaderKit::ToInt(std::string_view text, int32_t min, int32_t max) noexcept {
    text = CUtf8::TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated in 64 bits and stopped as soon as it leaves the 32-bit
    // range, so no digit string can overflow.
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < min || value > max) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<int32_t> CReaderKit::LineNumber(std::string_view text, int32_t min, int32_t max,
                                              MsgId id, int32_t lineNo, std::string_view line) {
    const std::optional<int32_t> value = ToInt(text, min, max);
    if (!value) {
        Warn(id, {lineNo, Quote(text), min, max, Quote(line)});
        leftOut_ = true;
    }
    return value;
}

void CReaderKit::SkipLine(MsgId id, int32_t lineNo, std::string_view line) {
    Warn(id, {lineNo, Quote(line)});
    leftOut_ = true;
}

void CReaderKit::Warn(MsgId id, std::initializer_list<FmtArg> args) const {
    root_.InfoMessage(CStdLib::Sprintf(modResStr::ResString(id), args), eMsgWarning, source_);
}

int32_t CReaderKit::Status(int32_t status) const noexcept {
    return status == ErrNum::kOk && leftOut_ ? ErrNum::kWarnings : status;
}

std::string CReaderKit::Quote(std::string_view line) {
    if (CUtf8::Length(line) <= kQuoteChars) return std::string(line);
    return std::string(CUtf8::Left(line, kQuoteChars)) + "...";
}

}  // namespace vellcfgrdr
