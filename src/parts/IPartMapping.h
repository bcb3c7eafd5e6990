#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Turns the part names legacy tools write into known part names. Never
// fails for unknown names.
class IPartMapping {
  public:
    virtual ~IPartMapping() = default;

    // found: whether the name was known as it stands (blanks aside).
    virtual std::string MappCPU(std::string_view name, bool& found, int32_t family) const = 0;
    virtual std::string MatchModuleName(std::string_view name, int32_t family) const = 0;
    virtual std::string MatchPower(std::string_view name, int32_t family) const = 0;
    virtual std::string ToPartRef(std::string_view name) const = 0;
    // A debug message when the name maps to no known part.
    virtual void ValidateMapping(std::string_view name, std::string_view toolName) const = 0;
};

}  // namespace vellcfgrdr
