#pragma once

#include <cstdint>

namespace vellcfgrdr {

// 32 flags in one long; bit 31 is the sign bit.
class CBitArray32 {
  public:
    void SetAll(bool on) noexcept { bits_ = on ? -1 : 0; }
    // Raises 5 for an index outside 0..31 (source "SetBit" or "ResetBit"
    // above 31, the PowerOfTwo error below 0).
    void SetBit(int32_t index, bool on);
    // Raises 5 for an index outside 0..31.
    bool GetBit(int32_t index) const;

    int32_t AsLong() const noexcept { return bits_; }
    void SetAsLong(int32_t value) noexcept { bits_ = value; }

  private:
    int32_t bits_ = 0;
};

}  // namespace vellcfgrdr
