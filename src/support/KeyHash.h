#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/CUtf8.h"

namespace vellcfgrdr {

// Hashing and equality for string keys of keyed containers. All of them are
// transparent, so a lookup with a std::string_view or a literal needs no
// temporary std::string.

// Byte-wise keys.
struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept {
        return std::hash<std::string_view>{}(s);
    }
};

struct StringEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};

// Keys compared without regard to letter case, folded exactly as
// CUtf8::EqualsNoCase folds them (so "POS1" and "pos1" are one key).
struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept {
        // FNV-1a over the folded characters; ASCII is folded without decoding.
        uint64_t h = 14695981039346656037ull;
        for (size_t pos = 0; pos < s.size();) {
            const auto b = static_cast<unsigned char>(s[pos]);
            char32_t c;
            if (b < 0x80) {
                c = (b >= 'a' && b <= 'z') ? b - 32 : b;
                ++pos;
            } else {
                c = CUtf8::ToUpperChar(CUtf8::Decode(s, pos));
            }
            h = (h ^ static_cast<uint64_t>(c)) * 1099511628211ull;
        }
        return static_cast<size_t>(h);
    }
};

struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        return CUtf8::EqualsNoCase(a, b);
    }
};

// Fixed-size integer tuples, such as the numbers that address an element of
// the I/O model.
struct ArrayHash {
    template <class T, size_t N>
    size_t operator()(const std::array<T, N>& a) const noexcept {
        uint64_t h = 14695981039346656037ull;
        for (const T& v : a)
            h = (h ^ static_cast<uint64_t>(std::hash<T>{}(v))) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};

}  // namespace vellcfgrdr
