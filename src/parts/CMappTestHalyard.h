#pragma once

namespace vellcfgrdr {

class IPartMapping;

// Checks that the mapping resolves the part names the Halyard tool writes
// (four lists: docs/catalogue.md, "Mapping self-checks"). Names that do not
// resolve are reported by the mapping's ValidateMapping, in debug mode only.
class CMappTestHalyard {
  public:
    static constexpr const char* kToolName = "Halyard";
    void CheckMapping(const IPartMapping& mapping) const;
};

}  // namespace vellcfgrdr
