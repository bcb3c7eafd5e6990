#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Facts about a PLC family that no project file states: limits, slot
// numbering and the parts to assume when a project names none. "family" is a
// PlcFamily value. String accessors give "" for a missing section or key.
class IFamilyInfo {
  public:
    virtual ~IFamilyInfo() = default;

    virtual std::string CpuSubstitutions(int32_t family) const = 0;
    virtual std::string DefaultBackplaneExtenderKit(int32_t family) const = 0;
    virtual std::string DefaultBackplaneExtenderModule(int32_t family) const = 0;
    virtual std::string DefaultCPU(int32_t family) const = 0;
    virtual std::string DefaultPowerSupply(int32_t family) const = 0;
    // The rack part for a rack number; "generic" (with a warning for a known
    // family) when the family names none.
    virtual std::string DefaultRack(int32_t family, int16_t rack) const = 0;
    virtual std::string DefaultRedundantSupply(int32_t family) const = 0;
    virtual std::string DefaultRioInterface(int32_t family) const = 0;
    virtual std::string FamilyAttribute(int32_t family, std::string_view key,
                                        std::string_view def) const = 0;
    virtual std::string GenericCPUs(int32_t family) const = 0;
    virtual bool HasHotStandbyOption(int32_t family) const = 0;
    virtual bool HasShortCableLen(int32_t family) const = 0;
    virtual std::string HotStandByParts(int32_t family) const = 0;
    virtual bool IsRavenFamily(int32_t family) const = 0;
    virtual int32_t Lifecycle(int32_t family) const = 0;
    virtual int16_t MaxDropCount(int32_t family) const = 0;
    // local: 1 for the local drop.
    virtual int16_t MaxRackCount(int32_t family, int16_t local) const = 0;
    virtual int16_t MinSlot(int32_t family) const = 0;
    // Changes the loaded value only; nothing is written to disk.
    virtual void OverWrite(int32_t family, std::string_view key, std::string_view value) = 0;
    virtual int32_t RacksHaveCpuCommSlot(int32_t family) const = 0;
    virtual bool RacksHavePowerSlot(int32_t family) const = 0;
    virtual std::string SlotCover(int32_t family) const = 0;
};

}  // namespace vellcfgrdr
