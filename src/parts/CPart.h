#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One catalogue part, read from a line of "PartDescriptions.txt".
class CPart {
  public:
    // Capability bits.
    static constexpr int32_t kChassisWithRack = 1;
    static constexpr int32_t kTwoPowerSlots = 2;
    static constexpr int32_t kHotStandbyCpu = 4;
    static constexpr int32_t kRedundant = 8;
    // Number of tab-separated fields of a line and of the header.
    static constexpr int kFieldCount = 11;

    int32_t PlcFamily() const noexcept { return family_; }
    int32_t Typ() const noexcept { return type_; }
    int32_t Group() const noexcept { return group_; }
    const std::string& Name() const noexcept { return name_; }
    int16_t ModuleId() const noexcept { return moduleId_; }
    int16_t SlotCount() const noexcept { return slotCount_; }
    int32_t PlacementRule() const noexcept { return placement_; }
    int32_t PartCapabilities() const noexcept { return capabilities_; }
    const std::string& Picklist() const noexcept { return picklist_; }
    // French for language 1, English otherwise.
    const std::string& Description(int32_t language) const noexcept {
        return language == 1 ? descriptionFr_ : descriptionEn_;
    }

    // Family match with the compatibility pairs (Lark/Osprey with Raven,
    // BriskFinch with Heron, S5 medium and large with S5-ML); 0 matches all.
    bool MatchesFamily(int32_t family) const noexcept;
    bool MatchesType(int32_t type) const noexcept { return type == 0 || type == type_; }

    // Fills the part from a data line (lineNo is the 1-based line of the
    // file, for messages). Raises 51 for a line in bad shape.
    void DeSerialize(int32_t lineNo, std::string_view line);
    // Whether the header line has the 11 tab-separated field names (only
    // their number is checked).
    static bool ValidateFieldNames(std::string_view header);

  private:
    int32_t family_ = 0;
    int32_t type_ = 0;
    int32_t group_ = 0;
    std::string name_;
    int16_t moduleId_ = 0;
    int16_t slotCount_ = 1;
    int32_t placement_ = 0;
    int32_t capabilities_ = 0;
    std::string picklist_;
    std::string descriptionEn_;
    std::string descriptionFr_;
};

}  // namespace vellcfgrdr
