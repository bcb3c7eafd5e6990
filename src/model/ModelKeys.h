#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

// Keys of the model lists: the numbers themselves, which "Pos%d.%d..." texts
// spell out in messages.
using DropKey = std::array<int16_t, 2>;
using RackKey = std::array<int16_t, 3>;
using ModuleKey = std::array<int32_t, 4>;

inline bool Fits16(int32_t value) noexcept {
    return value >= std::numeric_limits<int16_t>::min() &&
           value <= std::numeric_limits<int16_t>::max();
}

// Bus, drop and rack numbers are 16-bit; a number outside raises Overflow.
inline int16_t ToNum16(int32_t value) {
    if (!Fits16(value))
        throw CVellError(ErrNum::kOverflow, ModGSCore::StandardErrorText(ErrNum::kOverflow));
    return static_cast<int16_t>(value);
}

inline std::string KeyText(std::initializer_list<int32_t> numbers) {
    std::string text = "Pos";
    bool first = true;
    for (int32_t n : numbers) {
        if (!first) text += '.';
        text += std::to_string(n);
        first = false;
    }
    return text;
}

}  // namespace vellcfgrdr
