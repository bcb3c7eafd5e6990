#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/MessageEvents.h"
#include "parts/IFamilyInfo.h"
#include "parts/IPartInfo.h"
#include "parts/IPartMapping.h"
#include "support/KeyHash.h"

namespace vellcfgrdr {

// Part mapping over the part table, the translation table of
// "PartMapping.txt" (legacy name -> replacement, legacy names compressed and
// compared without regard to case) and family-specific searches.
class CPartMapping final : public IPartMapping {
  public:
    static constexpr const char* kFileName = "PartMapping.txt";

    // Stores the collaborators and (re)loads the translation table of the
    // folder; failures pass on.
    void Init(const std::string& folder, std::shared_ptr<const IPartInfo> partInfo,
              std::shared_ptr<const IFamilyInfo> familyInfo);

    std::string MappCPU(std::string_view name, bool& found, int32_t family) const override;
    std::string MatchModuleName(std::string_view name, int32_t family) const override;
    std::string MatchPower(std::string_view name, int32_t family) const override;
    std::string ToPartRef(std::string_view name) const override;
    void ValidateMapping(std::string_view name, std::string_view toolName) const override;
    // The self-checks of the legacy names the Tessel and Halyard tools write;
    // they report only in debug mode.
    void CheckMapping() const;

    // The legacy names of the translation table, in file order.
    const std::vector<std::string>& LegacyNames() const noexcept { return legacyNames_; }

    InfoMessageEvent EvtInfoMessage;

  private:
    void ReadMapFile(const std::string& path);
    // Unknown until Init has run.
    bool Known(std::string_view name, bool exact = false) const;
    std::vector<std::string> NamesOf(int32_t family, int32_t type) const;
    std::string BriskCpuSearch(const std::string& name, const std::vector<std::string>& list) const;

    std::shared_ptr<const IPartInfo> partInfo_;
    std::shared_ptr<const IFamilyInfo> familyInfo_;
    std::unordered_map<std::string, std::string, NoCaseHash, NoCaseEqual> table_;
    std::vector<std::string> legacyNames_;
};

}  // namespace vellcfgrdr
