#include "parts/CMappTestTessel.h"

#include <span>
#include <string>

#include "parts/IPartMapping.h"
#include "readers/CTesselGenericFunctions.h"

namespace vellcfgrdr {

namespace {
#include "parts/MappTestNames.inc"

constexpr std::string_view kSkipped[] = {"IEC",     "Finch ", "Marlin", "Loggia",
                                         "Unknown", "VME-",   "077PRC"};
constexpr int32_t kLastCpuChecked = 92;
}  // namespace

bool CMappTestTessel::SkipsCpuName(std::string_view name) {
    for (std::string_view part : kSkipped)
        if (name.find(part) != std::string_view::npos) return true;
    return false;
}

void CMappTestTessel::CheckMapping(const IPartMapping& mapping) const {
    for (std::span<const char* const> list :
         {std::span<const char* const>(kTessel1), std::span<const char* const>(kTessel2),
          std::span<const char* const>(kTessel3), std::span<const char* const>(kTessel4)})
        for (const char* name : list)
            mapping.ValidateMapping(name, kToolName);
    for (int32_t cpu = 1; cpu <= kLastCpuChecked; ++cpu) {
        const std::string name = CTesselGenericFunctions::GetCpuName(cpu);
        if (!SkipsCpuName(name)) mapping.ValidateMapping(name, kToolName);
    }
}

}  // namespace vellcfgrdr
