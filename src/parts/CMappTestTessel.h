#pragma once

#include <string_view>

namespace vellcfgrdr {

class IPartMapping;

// Checks that the mapping resolves the part names the Tessel tools write
// (four lists: docs/catalogue.md, "Mapping self-checks") and the model names
// of the Tessel processor types. Unresolved names are reported by the
// mapping's ValidateMapping, in debug mode only.
class CMappTestTessel {
  public:
    static constexpr const char* kToolName = "Tessel";
    void CheckMapping(const IPartMapping& mapping) const;
    // Model names of controllers the catalogue has no part for, or none of
    // any family, are not checked.
    static bool SkipsCpuName(std::string_view name);
};

}  // namespace vellcfgrdr
