#include "core/CNumText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/CUtf8.h"

namespace vellcfgrdr {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

double ReadRadix(std::string_view s, size_t pos, int base) {
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const int d = DigitValue(s[pos], base);
        if (d < 0) break;
        value = value * base + d;
    }
    return value;
}

}  // namespace

double CNumText::RoundHalfEven(double value) noexcept {
    if (!std::isfinite(value)) return value;
    const double fl = std::floor(value);
    const double diff = value - fl;
    if (diff > 0.5) return fl + 1;
    if (diff < 0.5) return fl;
    return std::fmod(fl, 2.0) == 0 ? fl : fl + 1;
}

double CNumText::Val(std::string_view s) noexcept {
    size_t pos = 0;
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\n' || s[pos] == '\r'))
        ++pos;
    if (pos + 1 < s.size() && s[pos] == '&') {
        const char r = s[pos + 1];
        if (r == 'H' || r == 'h') return ReadRadix(s, pos + 2, 16);
        if (r == 'O' || r == 'o') return ReadRadix(s, pos + 2, 8);
        return 0;
    }
    // Collect the longest prefix that forms a number into a clean buffer for
    // the locale-independent converter.
    std::string buf;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        if (s[pos] == '-') buf.push_back('-');
        ++pos;
    }
    bool digits = false, dot = false;
    for (; pos < s.size(); ++pos) {
        if (IsDigit(s[pos])) {
            digits = true;
        } else if (s[pos] == '.' && !dot) {
            dot = true;
        } else {
            break;
        }
        buf.push_back(s[pos]);
    }
    if (!digits) return 0;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e' || s[pos] == 'D' || s[pos] == 'd')) {
        size_t p = pos + 1;
        std::string exp = "e";
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) exp.push_back(s[p++]);
        if (p < s.size() && IsDigit(s[p])) {
            while (p < s.size() && IsDigit(s[p]))
                exp.push_back(s[p++]);
            buf += exp;
        }
    }
    double value = 0;
    const auto r = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        const size_t e = buf.find('e');
        const bool tiny = e != std::string::npos && buf[e + 1] == '-';
        const bool negative = buf[0] == '-';
        if (tiny) return 0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value;
}

bool CNumText::IsNumeric(std::string_view s) noexcept {
    s = CUtf8::TrimBlanks(s);
    size_t pos = 0;
    if (s.size() > 2 && s[0] == '&') {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : (s[1] == 'O' || s[1] == 'o') ? 8 : 0;
        if (base == 0) return false;
        for (pos = 2; pos < s.size(); ++pos)
            if (DigitValue(s[pos], base) < 0) return false;
        return true;
    }
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    bool digits = false, dot = false;
    for (; pos < s.size(); ++pos) {
        if (IsDigit(s[pos]))
            digits = true;
        else if (s[pos] == '.' && !dot)
            dot = true;
        else
            break;
    }
    if (!digits) return false;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e' || s[pos] == 'D' || s[pos] == 'd')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
        if (pos >= s.size() || !IsDigit(s[pos])) return false;
        while (pos < s.size() && IsDigit(s[pos]))
            ++pos;
    }
    return pos == s.size();
}

}  // namespace vellcfgrdr
