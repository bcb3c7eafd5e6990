#pragma once

#include <cstdint>
#include <string_view>

#include "core/CUtf8.h"

namespace vellcfgrdr {

// How strings are ordered: by their bytes (UTF-8 bytes order as code points
// do) or without regard to letter case.
enum class CompareMode : int32_t { Binary = 0, Text = 1 };

// < 0, 0 or > 0.
inline int CompareStrings(std::string_view a, std::string_view b, CompareMode mode) noexcept {
    if (mode == CompareMode::Text) return CUtf8::CompareNoCase(a, b);
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace vellcfgrdr
