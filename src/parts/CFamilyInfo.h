#pragma once

#include <string>
#include <vector>

#include "core/MessageEvents.h"
#include "parts/IFamilyInfo.h"
#include "support/CIniDOM.h"

namespace vellcfgrdr {

// Family information read from "FamilyInfo.txt": one INI section per PLC
// family. Integer keys of the Raven family are read from the Osprey section.
class CFamilyInfo final : public IFamilyInfo {
  public:
    static constexpr const char* kFileName = "FamilyInfo.txt";

    // Loads and validates the file of the folder; failures pass on.
    void Init(const std::string& folder);

    std::string CpuSubstitutions(int32_t family) const override;
    std::string DefaultBackplaneExtenderKit(int32_t family) const override;
    std::string DefaultBackplaneExtenderModule(int32_t family) const override;
    std::string DefaultCPU(int32_t family) const override;
    std::string DefaultPowerSupply(int32_t family) const override;
    std::string DefaultRack(int32_t family, int16_t rack) const override;
    std::string DefaultRedundantSupply(int32_t family) const override;
    std::string DefaultRioInterface(int32_t family) const override;
    std::string FamilyAttribute(int32_t family, std::string_view key,
                                std::string_view def) const override;
    std::string GenericCPUs(int32_t family) const override;
    bool HasHotStandbyOption(int32_t family) const override;
    bool HasShortCableLen(int32_t family) const override;
    std::string HotStandByParts(int32_t family) const override;
    bool IsRavenFamily(int32_t family) const override;
    int32_t Lifecycle(int32_t family) const override;
    int16_t MaxDropCount(int32_t family) const override;
    int16_t MaxRackCount(int32_t family, int16_t local) const override;
    int16_t MinSlot(int32_t family) const override;
    void OverWrite(int32_t family, std::string_view key, std::string_view value) override;
    int32_t RacksHaveCpuCommSlot(int32_t family) const override;
    bool RacksHavePowerSlot(int32_t family) const override;
    std::string SlotCover(int32_t family) const override;

    InfoMessageEvent EvtInfoMessage;
    ReportErrorEvent EvtReportError;

    // Sections that name no family and keys outside the list of known keys,
    // as "Invalid Family <name>" and "Invalid Field <name>" findings.
    std::vector<std::string> Validate() const;

  private:
    void DebugMessage(const std::string& text) const;
    // The integer value of a key in [min, max]; def when absent, and def with
    // an error report when the value is no number or out of range.
    int32_t AttributeInt(int32_t family, std::string_view key, int32_t def, int32_t min,
                         int32_t max) const;

    CIniDOM doc_;
};

}  // namespace vellcfgrdr
