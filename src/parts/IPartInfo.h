#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parts/CPart.h"
#include "support/CEnumSet.h"

namespace vellcfgrdr {

// The table of all known parts. A name is looked up by its compressed form
// (blanks and dashes removed, letter case ignored); unknown names give the
// neutral value of the result (0, "", false, empty) and never fail.
class IPartInfo {
  public:
    virtual ~IPartInfo() = default;

    // Supplement ("PartInfo.sup") values for the part's canonical name.
    virtual std::string AlternativConnector(std::string_view name) const = 0;
    virtual std::string BundleContents(std::string_view name) const = 0;
    virtual std::string Connector(std::string_view name) const = 0;
    virtual std::string ShieldKit(std::string_view name) const = 0;

    virtual int32_t GroupOf(std::string_view name) const = 0;
    virtual int16_t ModuleId(std::string_view name) const = 0;
    virtual int32_t PartFamily(std::string_view name) const = 0;
    virtual int32_t PlcFamily(std::string_view name) const = 0;
    virtual int32_t PartType(std::string_view name) const = 0;
    // 1 for unknown names as for parts stored with 0 slots.
    virtual int16_t SlotCount(std::string_view name) const = 0;
    virtual int32_t PlacementRule(std::string_view name) const = 0;
    // True when the canonical name contains "*" or the part has a pick list.
    virtual bool PartNeedsResolution(std::string_view name) const = 0;
    virtual bool IsAmbiguousName(std::string_view name) const = 0;
    virtual bool IsHotStandByCPU(std::string_view name) const = 0;
    virtual bool IsRedundantSupply(std::string_view name) const = 0;
    virtual bool RackHasRedundandPowerSlot(std::string_view name) const = 0;
    virtual bool RackIncludesQWA(std::string_view name) const = 0;

    // All parts, in file order.
    virtual const std::vector<CPart>& Parts() const = 0;
    virtual int32_t Count() const = 0;
    // exact: only the name as written (letter case aside) is known.
    virtual bool PartExists(std::string_view name, bool exact = false) const = 0;
    // The catalogue's own spelling of a name it knows in any spelling (with
    // or without blanks and dashes); the name itself when unknown.
    virtual std::string CanonicalName(std::string_view name) const = 0;
    // Candidate names: the part's pick list, or else the names that
    // MatchPartsLike finds; empty for an unknown name.
    virtual std::vector<std::string> Picklist(std::string_view name) const = 0;
    // Names longer than the compressed pattern that match it ("*" appended
    // when it holds no wildcard), in file order.
    virtual std::vector<std::string> MatchPartsLike(std::string_view pattern) const = 0;
    // Names of the family (compatibility pairs included) and type; 0 for
    // either means any. File order.
    virtual std::vector<std::string> PartNamesSubset(int32_t family, int32_t type) const = 0;
    virtual std::string FindModuleLike(int32_t family, std::string_view text) const = 0;
    virtual CEnumSet GroupsByFamilyAndType(int32_t family, int32_t type) const = 0;
    virtual int32_t GuessCpuFamily(std::string_view name) const = 0;
    // The module or power supply of exactly this family with the id, or
    // "ModuleID_" + id.
    virtual std::string ModuleNameFromId(int16_t moduleId, int32_t family) const = 0;
    // "A+(2) B" gives A, B, B.
    virtual std::vector<std::string> MultiplePartsAsArray(std::string_view text) const = 0;
    // In the current language; shortened to about 160 characters unless full.
    virtual std::string PartDescription(std::string_view name, bool full) const = 0;
};

}  // namespace vellcfgrdr
