#include "support/CBitArray32.h"

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CByteMath.h"

namespace vellcfgrdr {

void CBitArray32::SetBit(int32_t index, bool on) {
    if (index > 31)
        throw CVellError(ErrNum::kInvalidCall, ModGSCore::StandardErrorText(ErrNum::kInvalidCall),
                         on ? "SetBit" : "ResetBit");
    const uint32_t mask = static_cast<uint32_t>(CByteMath::PowerOfTwo(index));
    const uint32_t bits = static_cast<uint32_t>(bits_);
    bits_ = static_cast<int32_t>(on ? bits | mask : bits & ~mask);
}

bool CBitArray32::GetBit(int32_t index) const {
    return (static_cast<uint32_t>(bits_) & static_cast<uint32_t>(CByteMath::PowerOfTwo(index))) !=
           0;
}

}  // namespace vellcfgrdr
