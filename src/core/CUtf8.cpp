#include "core/CUtf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vellcfgrdr {

namespace {

// Windows-1252 0x80..0x9F. The five unassigned codes map to the C1 controls
// of the same value, as the platform decoder does.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline bool IsCont(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

char32_t CUtf8::Decode(std::string_view s, size_t& pos) noexcept {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    size_t need;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        need = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        need = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        need = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (s.size() - pos <= need) {
        ++pos;
        return kReplacement;
    }
    for (size_t i = 1; i <= need; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (!IsCont(b)) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += need + 1;
    return cp;
}

void CUtf8::Append(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

size_t CUtf8::Length(std::string_view s) noexcept {
    size_t n = 0;
    for (size_t pos = 0; pos < s.size();) {
        Decode(s, pos);
        ++n;
    }
    return n;
}

size_t CUtf8::ByteOffset(std::string_view s, size_t charIndex) noexcept {
    size_t pos = 0;
    for (size_t i = 0; i < charIndex && pos < s.size(); ++i)
        Decode(s, pos);
    return pos;
}

size_t CUtf8::CharIndex(std::string_view s, size_t byteOffset) noexcept {
    size_t n = 0;
    for (size_t pos = 0; pos < s.size() && pos < byteOffset;) {
        Decode(s, pos);
        ++n;
    }
    return n;
}

std::string_view CUtf8::Left(std::string_view s, size_t nChars) noexcept {
    return s.substr(0, ByteOffset(s, nChars));
}

std::string_view CUtf8::Mid(std::string_view s, size_t startChar, size_t nChars) noexcept {
    const size_t b = ByteOffset(s, startChar);
    std::string_view rest = s.substr(b);
    return nChars == npos ? rest : Left(rest, nChars);
}

std::string_view CUtf8::Right(std::string_view s, size_t nChars) noexcept {
    const size_t len = Length(s);
    return nChars >= len ? s : Mid(s, len - nChars);
}

std::string CUtf8::FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out.push_back(static_cast<char>(c));
        else
            Append(out, Cp1252Char(c));
    }
    return out;
}

std::string CUtf8::FromUtf16Le(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const size_t n = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (size_t i = 0; i < n; ++i) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
            const char32_t lo = unit(i + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                Append(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        Append(out, u);  // lone surrogates become U+FFFD in Append
    }
    if (bytes.size() % 2) Append(out, kReplacement);
    return out;
}

namespace {

// Length of the leading run of ASCII bytes, eight at a time.
size_t AsciiPrefix(std::string_view s) noexcept {
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

// The bytes with every byte that starts no UTF-8 character replaced by the
// character `instead` gives for it; ASCII runs, which dominate real files,
// are copied straight through.
template <class Instead>
std::string Repaired(std::string_view bytes, size_t reserve, Instead instead) {
    std::string out;
    out.reserve(reserve);
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t start = pos;
        pos += AsciiPrefix(bytes.substr(pos));
        out.append(bytes.substr(start, pos - start));
        if (pos >= bytes.size()) break;
        const size_t before = pos;
        if (CUtf8::Decode(bytes, pos) == CUtf8::kReplacement && pos == before + 1)
            CUtf8::Append(out, instead(static_cast<unsigned char>(bytes[before])));
        else
            out.append(bytes.substr(before, pos - before));
    }
    return out;
}

}  // namespace

bool CUtf8::IsAscii(std::string_view bytes) noexcept {
    return AsciiPrefix(bytes) == bytes.size();
}

bool CUtf8::IsValidUtf8(std::string_view bytes) noexcept {
    size_t pos = 0;
    while (pos < bytes.size()) {
        pos += AsciiPrefix(bytes.substr(pos));
        if (pos >= bytes.size()) break;
        const size_t before = pos;
        if (Decode(bytes, pos) == kReplacement && pos == before + 1) return false;
    }
    return true;
}

std::string CUtf8::FromUtf8(std::string_view bytes) {
    return Repaired(bytes, bytes.size(), [](unsigned char) { return kReplacement; });
}

std::string CUtf8::FromExternal(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Repaired(bytes, bytes.size() + bytes.size() / 8, &Cp1252Char);
}

char32_t CUtf8::Cp1252Char(unsigned char code) noexcept {
    if (code >= 0x80 && code < 0xA0) return kCp1252High[code - 0x80];
    return code;
}

int CUtf8::Cp1252Code(char32_t cp) noexcept {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == cp) return 0x80 + i;
    return -1;
}

std::string CUtf8::ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const int code = Cp1252Code(Decode(text, pos));
        out.push_back(static_cast<char>(code < 0 ? '?' : code));
    }
    return out;
}

char32_t CUtf8::ToUpperChar(char32_t c) noexcept {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c < 0xE0) return c;
    if (c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
        case 0xFF:
            return 0x178;
        case 0x153:
            return 0x152;
        case 0x161:
            return 0x160;
        case 0x17E:
            return 0x17D;
        default:
            return c;
    }
}

char32_t CUtf8::ToLowerChar(char32_t c) noexcept {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
        case 0x178:
            return 0xFF;
        case 0x152:
            return 0x153;
        case 0x160:
            return 0x161;
        case 0x17D:
            return 0x17E;
        default:
            return c;
    }
}

namespace {

template <char32_t (*Fold)(char32_t) noexcept>
std::string Map(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(Fold(b)));
            ++pos;
        } else {
            CUtf8::Append(out, Fold(CUtf8::Decode(s, pos)));
        }
    }
    return out;
}

// Folded character at pos, advancing pos; ASCII without decoding.
inline char32_t NextFolded(std::string_view s, size_t& pos) noexcept {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {
        ++pos;
        return (b >= 'a' && b <= 'z') ? b - 32 : b;
    }
    return CUtf8::ToUpperChar(CUtf8::Decode(s, pos));
}

// Length in bytes of the match of needle at hay[start], or npos.
inline size_t MatchAt(std::string_view hay, size_t start, std::string_view needle) noexcept {
    size_t h = start, n = 0;
    while (n < needle.size()) {
        if (h >= hay.size()) return CUtf8::npos;
        if (NextFolded(hay, h) != NextFolded(needle, n)) return CUtf8::npos;
    }
    return h - start;
}

}  // namespace

std::string CUtf8::ToUpper(std::string_view s) {
    return Map<ToUpperChar>(s);
}
std::string CUtf8::ToLower(std::string_view s) {
    return Map<ToLowerChar>(s);
}

int CUtf8::CompareNoCase(std::string_view a, std::string_view b) noexcept {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = NextFolded(a, i);
        const char32_t cb = NextFolded(b, j);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool CUtf8::EqualsNoCase(std::string_view a, std::string_view b) noexcept {
    return CompareNoCase(a, b) == 0;
}

bool CUtf8::StartsWithNoCase(std::string_view s, std::string_view prefix) noexcept {
    if (IsAscii(prefix)) {
        // An ASCII prefix only matches ASCII bytes: compare them folded.
        if (s.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            const char a = s[i], b = prefix[i];
            if (a != b && !((a | 0x20) == (b | 0x20) && (b | 0x20) >= 'a' && (b | 0x20) <= 'z'))
                return false;
        }
        return true;
    }
    return MatchAt(s, 0, prefix) != npos;
}

size_t CUtf8::FindNoCase(std::string_view hay, std::string_view needle, size_t from) noexcept {
    if (needle.empty()) return from <= hay.size() ? from : npos;
    if (std::all_of(needle.begin(), needle.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        // An ASCII needle can only match ASCII bytes, so bytes compare
        // directly; this is the hot path of the line readers. OR-ing 0x20
        // folds a letter's case and leaves it a letter.
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c; };
        const char first = fold(needle[0]);
        const char firstUpper =
            (first >= 'a' && first <= 'z') ? static_cast<char>(first - 32) : first;
        const size_t last = hay.size() - std::min(hay.size(), needle.size() - 1);
        auto matchesAt = [&](size_t pos) {
            size_t i = 1;
            while (i < needle.size() && fold(hay[pos + i]) == fold(needle[i]))
                ++i;
            return i == needle.size();
        };
        size_t pos = from;
#if defined(__SSE2__)
        // Sixteen candidates for the first character at a time.
        const __m128i lo = _mm_set1_epi8(first);
        const __m128i up = _mm_set1_epi8(firstUpper);
        for (; pos + 16 <= last; pos += 16) {
            const __m128i block =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay.data() + pos));
            auto mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(block, lo), _mm_cmpeq_epi8(block, up))));
            while (mask != 0) {
                const size_t at = pos + static_cast<size_t>(__builtin_ctz(mask));
                if (matchesAt(at)) return at;
                mask &= mask - 1;
            }
        }
#endif
        for (; pos < last; ++pos)
            if ((hay[pos] == first || hay[pos] == firstUpper) && matchesAt(pos)) return pos;
        return npos;
    }
    for (size_t pos = from; pos < hay.size();) {
        if (MatchAt(hay, pos, needle) != npos) return pos;
        Decode(hay, pos);
    }
    return npos;
}

std::string_view CUtf8::TrimLeft(std::string_view s) noexcept {
    const size_t b = s.find_first_not_of(' ');
    return b == npos ? std::string_view{} : s.substr(b);
}

std::string_view CUtf8::TrimRight(std::string_view s) noexcept {
    const size_t e = s.find_last_not_of(' ');
    return e == npos ? std::string_view{} : s.substr(0, e + 1);
}

std::string_view CUtf8::Trim(std::string_view s) noexcept {
    return TrimRight(TrimLeft(s));
}

std::string_view CUtf8::TrimBlanks(std::string_view s) noexcept {
    const size_t b = s.find_first_not_of(" \t");
    if (b == npos) return {};
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace vellcfgrdr
