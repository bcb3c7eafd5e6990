#include "support/CEnumSet.h"

#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

namespace {

// CBitArray32 reports an index above 31 under its own procedure names; the
// set reports every bad value the same way.
void CheckRange(int16_t value) {
    if (value < 0 || value > 31)
        throw CVellError(ErrNum::kInvalidCall, ModGSCore::StandardErrorText(ErrNum::kInvalidCall));
}

}  // namespace

void CEnumSet::FailOverflow() {
    throw CVellError(ErrNum::kOverflow, ModGSCore::StandardErrorText(ErrNum::kOverflow));
}

void CEnumSet::AllowAlsoValue(int16_t value) {
    CheckRange(value);
    bits_.SetBit(value, true);
}

void CEnumSet::AllowOnlyValue(int16_t value) {
    CheckRange(value);
    bits_.SetAll(false);
    bits_.SetBit(value, true);
}

bool CEnumSet::AllowsValue(int16_t value) const {
    CheckRange(value);
    return bits_.GetBit(value);
}

}  // namespace vellcfgrdr
