#include "support/CStdLib.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/CNumText.h"
#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

namespace {

template <class T>
T Convert(std::string_view text, const char* name) {
    const double v = CStdLib::RoundHalfEven(CStdLib::Val(text));
    if (!(v >= static_cast<double>(std::numeric_limits<T>::min()) &&
          v <= static_cast<double>(std::numeric_limits<T>::max()))) {
        ModGSCore::DebugTrace(std::string(ModGSCore::StandardErrorText(ErrNum::kOverflow)) +
                              " in " + name);
        return 0;
    }
    return static_cast<T>(v);
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    for (size_t p; (p = s.find(from)) != std::string_view::npos; s.remove_prefix(p + from.size())) {
        out.append(s.substr(0, p));
        out.append(to);
    }
    out.append(s);
    return out;
}

[[noreturn]] void Raise(int32_t number, const char* description) {
    throw CVellError(number, description);
}

std::string Hex(int64_t v) {
    uint64_t u = static_cast<uint64_t>(v);
    if (v < 0 && v >= std::numeric_limits<int32_t>::min()) u &= 0xFFFFFFFFu;
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, u, 16);
    return std::string(buf, r.ptr);
}

}  // namespace

int16_t CStdLib::Atoi(std::string_view text) {
    return Convert<int16_t>(text, "Atoi");
}

int32_t CStdLib::Atol(std::string_view text) {
    return Convert<int32_t>(text, "Atol");
}

float CStdLib::Atof(std::string_view text) {
    const double v = Val(text);
    if (std::fabs(v) > std::numeric_limits<float>::max()) {
        ModGSCore::DebugTrace(std::string(ModGSCore::StandardErrorText(ErrNum::kOverflow)) +
                              " in Atof");
        return 0;
    }
    return static_cast<float>(v);
}

std::string CStdLib::Sprintf(std::string_view format, const std::vector<FmtArg>& args) {
    // "\t" before "\n", then "%%" to NUL so that the split at "%" skips it.
    std::string fmt = ReplaceAll(format, "\\t", "\t");
    fmt = ReplaceAll(fmt, "\\n", "\r\n");
    const bool percents = fmt.find("%%") != std::string::npos;
    if (percents) fmt = ReplaceAll(fmt, "%%", std::string_view("\0", 1));

    std::vector<std::string_view> pieces;
    std::string_view rest(fmt);
    for (size_t p; (p = rest.find('%')) != std::string_view::npos; rest.remove_prefix(p + 1))
        pieces.push_back(rest.substr(0, p));
    pieces.push_back(rest);
    if (pieces.size() - 1 != args.size())
        Raise(ErrNum::kWrongArgCount, "Format string does not match arguments");

    std::string out(pieces[0]);
    for (size_t i = 1; i < pieces.size(); ++i) {
        const std::string_view piece = pieces[i];
        size_t d = 0;
        while (d < piece.size() &&
               std::string_view("-0123456789").find(piece[d]) != std::string_view::npos)
            ++d;
        char conversion = 0;
        if (d < piece.size()) {
            if (std::string_view("sdcx").find(piece[d]) == std::string_view::npos)
                Raise(ErrNum::kInvalidCall, "Format string mismatch");
            conversion = piece[d];
        }
        const std::string_view directive = piece.substr(0, d);
        const FmtArg& arg = args[i - 1];

        std::string text;
        if (conversion == 'c') {
            const int64_t code = arg.Integer();
            if (code < 0 || code > 255)
                Raise(ErrNum::kInvalidCall, ModGSCore::StandardErrorText(ErrNum::kInvalidCall));
            CUtf8::Append(text, CUtf8::Cp1252Char(static_cast<unsigned char>(code)));
        } else if (conversion == 'x') {
            text = Hex(arg.Integer());
        } else {
            text = arg.Text();
        }

        const bool left = !directive.empty() && directive[0] == '-';
        size_t width = 0;
        for (char c : directive.substr(left ? 1 : 0)) {
            if (c < '0' || c > '9') break;
            width = std::min<size_t>(width * 10 + (c - '0'), 1u << 20);
        }
        const size_t len = CUtf8::Length(text);
        if (width > len) {
            if (left)
                text.append(width - len, ' ');
            else
                text.insert(0, width - len, ' ');
        }
        out += text;
        out += piece.substr(conversion ? d + 1 : d);
    }
    if (percents)
        for (char& c : out)
            if (c == '\0') c = '%';
    return out;
}

bool CStdLib::StringStartsWith(std::string_view text, std::string_view prefix, bool caseSensitive) {
    if (prefix.empty()) return true;
    return caseSensitive ? text.starts_with(prefix) : CUtf8::StartsWithNoCase(text, prefix);
}

std::string CStdLib::QuoteString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string CStdLib::UnQuoteString(std::string_view text) {
    if (text.starts_with('"')) text.remove_prefix(1);
    if (text.ends_with('"')) text.remove_suffix(1);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
    }
    return out;
}

std::string_view CStdLib::StrC2B(std::string_view text) noexcept {
    const size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::vector<std::string> CStdLib::Split(std::string_view text, char separator) {
    std::vector<std::string> out;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        out.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return out;
        start = end + 1;
    }
}

std::string CStdLib::GetNthOrLastTok(std::string_view text, int16_t n, std::string_view delimiter) {
    if (text.empty() || n < 1) return {};
    std::string_view piece = text;
    if (!delimiter.empty()) {
        size_t start = 0;
        for (int16_t i = 1;; ++i) {
            const size_t end = text.find(delimiter, start);
            piece = text.substr(
                start, end == std::string_view::npos ? std::string_view::npos : end - start);
            if (i == n || end == std::string_view::npos) break;
            start = end + delimiter.size();
        }
    }
    return std::string(CUtf8::Trim(piece));
}

}  // namespace vellcfgrdr
