#include "support/CWildcard.h"

#include "core/CUtf8.h"

namespace vellcfgrdr {

namespace {

// Matches one pattern element at pattern[p] against the character c; on
// success advances p past the element. A "[" without "]" is a plain "[".
bool MatchElement(char32_t c, std::string_view pattern, size_t& p) noexcept {
    size_t q = p;
    const char32_t pc = CUtf8::Decode(pattern, q);
    if (pc == '?') {
        p = q;
        return true;
    }
    if (pc == '#') {
        p = q;
        return c >= '0' && c <= '9';
    }
    if (pc == '[') {
        const size_t close = pattern.find(']', q);
        if (close != std::string_view::npos) {
            std::string_view list = pattern.substr(q, close - q);
            bool negate = false;
            if (!list.empty() && list[0] == '!') {
                negate = true;
                list.remove_prefix(1);
            }
            bool found = false;
            for (size_t i = 0; i < list.size() && !found;) {
                const char32_t lo = CUtf8::Decode(list, i);
                char32_t hi = lo;
                if (i + 1 < list.size() && list[i] == '-') {
                    size_t j = i + 1;
                    hi = CUtf8::Decode(list, j);
                    i = j;
                }
                found = c >= lo && c <= hi;
            }
            p = close + 1;
            return found != negate;
        }
    }
    p = q;
    return c == pc;
}

}  // namespace

bool CWildcard::Matches(std::string_view text, std::string_view pattern) noexcept {
    // Greedy matching with a single backtrack point at the last "*": linear
    // for the usual patterns, never exponential.
    size_t t = 0, p = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            size_t tNext = t;
            const char32_t c = CUtf8::Decode(text, tNext);
            size_t pNext = p;
            if (MatchElement(c, pattern, pNext)) {
                t = tNext;
                p = pNext;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        CUtf8::Decode(text, starT);
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace vellcfgrdr
