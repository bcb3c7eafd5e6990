#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Enums.h"

namespace vellcfgrdr {

// Texts of the enumerations of Enums.h, both ways. Text-to-value lookups
// ignore letter case and fall back to 0 for unknown texts; value-to-text
// lookups fall back to the default text of the enumeration.
class CCvtEnum {
  public:
    // Accepts every family text, including the (current-language) texts of 0
    // and plcUnsupported; anything else gives plcNone.
    static PlcFamily PlcFamilyFromString(std::string_view text);
    static std::string PlcFamilyToString(int32_t family);

    static PartType PartTypeFromString(std::string_view text);
    // Raises 5 for a value outside ptUnknown..ptOther.
    static std::string PartTypeToString(int32_t type);

    static PartGroup PartGroupFromString(std::string_view text);
    static std::string PartGroupToString(int32_t group);

    // A numeric text gives its value rounded half to even; otherwise one of
    // "(P)", "(P2)", "(X)"; anything else raises 51.
    static SlotKind SlotKindFromString(std::string_view text);
    // Signed decimal for every slot without a name of its own.
    static std::string SlotKindToString(int32_t slot);

    static std::string ProjectFormatToString(int32_t format);
    // Base name and " drop", e.g. "Kestrel drop".
    static std::string DropFamilyToString(int32_t code);
};

}  // namespace vellcfgrdr
