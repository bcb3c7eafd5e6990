#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "support/CBitArray32.h"

namespace vellcfgrdr {

// A set of the values 0 to 31, such as part groups. Values are taken as
// 16-bit integers: one that does not fit raises 6, one outside 0 to 31
// raises 5.
class CEnumSet {
  public:
    template <class E>
    requires std::is_enum_v<E> || std::integral<E>
    void AllowAlso(E value) { AllowAlsoValue(ToInt16(value)); }
    template <class E>
    requires std::is_enum_v<E> || std::integral<E>
    void AllowOnly(E value) { AllowOnlyValue(ToInt16(value)); }
    void AllowAll() noexcept { bits_.SetAll(true); }
    template <class E>
    requires std::is_enum_v<E> || std::integral<E>
    bool Allows(E value) const { return AllowsValue(ToInt16(value)); }

    // The set as a bit mask (bit n for value n).
    int32_t AsLong() const noexcept { return bits_.AsLong(); }

  private:
    template <class E>
    static int16_t ToInt16(E value) {
        if constexpr (std::is_enum_v<E>)
            return ToInt16(static_cast<std::underlying_type_t<E>>(value));
        else {
            if (!std::in_range<int16_t>(value)) FailOverflow();
            return static_cast<int16_t>(value);
        }
    }
    [[noreturn]] static void FailOverflow();
    void AllowAlsoValue(int16_t value);
    void AllowOnlyValue(int16_t value);
    bool AllowsValue(int16_t value) const;

    CBitArray32 bits_;
};

}  // namespace vellcfgrdr
