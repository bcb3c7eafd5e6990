#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/MessageEvents.h"
#include "parts/IPartInfo.h"
#include "support/CIniDOM.h"
#include "support/KeyHash.h"

namespace vellcfgrdr {

// The part table read from "PartDescriptions.txt" and its supplement
// "PartInfo.sup". Read-only after Init; the writer asks it about every
// module, so name lookups are hashed and prefix searches use a sorted index.
class CPartInfo final : public IPartInfo {
  public:
    static constexpr const char* kPartFileName = "PartDescriptions.txt";
    static constexpr const char* kSupplementFileName = "PartInfo.sup";

    // Loads both files of the folder; a missing file or a line in bad shape
    // fails (the tables then hold what was read before the failure).
    void Init(const std::string& folder);

    std::string AlternativConnector(std::string_view name) const override;
    std::string BundleContents(std::string_view name) const override;
    std::string Connector(std::string_view name) const override;
    std::string ShieldKit(std::string_view name) const override;

    int32_t GroupOf(std::string_view name) const override;
    int16_t ModuleId(std::string_view name) const override;
    int32_t PartFamily(std::string_view name) const override;
    int32_t PlcFamily(std::string_view name) const override;
    int32_t PartType(std::string_view name) const override;
    int16_t SlotCount(std::string_view name) const override;
    int32_t PlacementRule(std::string_view name) const override;
    bool PartNeedsResolution(std::string_view name) const override;
    bool IsAmbiguousName(std::string_view name) const override;
    bool IsHotStandByCPU(std::string_view name) const override;
    bool IsRedundantSupply(std::string_view name) const override;
    bool RackHasRedundandPowerSlot(std::string_view name) const override;
    bool RackIncludesQWA(std::string_view name) const override;

    const std::vector<CPart>& Parts() const override { return parts_; }
    int32_t Count() const override { return static_cast<int32_t>(parts_.size()); }
    bool PartExists(std::string_view name, bool exact = false) const override;
    std::vector<std::string> Picklist(std::string_view name) const override;
    std::vector<std::string> MatchPartsLike(std::string_view pattern) const override;
    std::vector<std::string> PartNamesSubset(int32_t family, int32_t type) const override;
    std::string FindModuleLike(int32_t family, std::string_view text) const override;
    CEnumSet GroupsByFamilyAndType(int32_t family, int32_t type) const override;
    int32_t GuessCpuFamily(std::string_view name) const override;
    std::string ModuleNameFromId(int16_t moduleId, int32_t family) const override;
    std::vector<std::string> MultiplePartsAsArray(std::string_view text) const override;
    std::string PartDescription(std::string_view name, bool full) const override;
    std::string CanonicalName(std::string_view name) const override;

    // The record of a name in any spelling whose compressed form is known;
    // nullptr when unknown.
    const CPart* Find(std::string_view name) const;

    // MatchPartsLike by scanning every record with the wildcard matcher, the
    // reference the indexed search must agree with.
    std::vector<std::string> MatchPartsLikeByScan(std::string_view pattern) const;

    InfoMessageEvent EvtInfoMessage;
    ReportErrorEvent EvtReportError;

  private:
    void ReadParts(const std::string& path);
    void AddPart(CPart&& part);
    void BuildPrefixIndex();
    void ClearTables();
    std::string Supplement(std::string_view section, std::string_view name) const;
    std::vector<std::string> ScanPartNamesSubset(int32_t family, int32_t type) const;

    // File order; positions are the values of the indexes below.
    std::vector<CPart> parts_;
    // Lower-case compressed name of each record, by position.
    std::vector<std::string> lowerKeys_;
    // Positions ordered by lowerKeys_, for prefix searches.
    std::vector<uint32_t> byLowerKey_;
    std::unordered_map<std::string, uint32_t, NoCaseHash, NoCaseEqual> byCompressed_;
    std::unordered_set<std::string, NoCaseHash, NoCaseEqual> exactNames_;
    CIniDOM supplement_;

    // PartNamesSubset results by family and type, filled on first request.
    static constexpr int32_t kCachedFamilies = 32;
    static constexpr int32_t kCachedTypes = 16;
    mutable std::mutex subsetMutex_;
    mutable std::array<std::unique_ptr<const std::vector<std::string>>,
                       kCachedFamilies * kCachedTypes>
        subsetCache_;
};

}  // namespace vellcfgrdr
