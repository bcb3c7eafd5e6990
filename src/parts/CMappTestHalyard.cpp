#include "parts/CMappTestHalyard.h"

#include <span>

#include "parts/IPartMapping.h"

namespace vellcfgrdr {

namespace {
#include "parts/MappTestNames.inc"
}  // namespace

void CMappTestHalyard::CheckMapping(const IPartMapping& mapping) const {
    for (std::span<const char* const> list :
         {std::span<const char* const>(kHalyard1), std::span<const char* const>(kHalyard2),
          std::span<const char* const>(kHalyard3), std::span<const char* const>(kHalyard4)})
        for (const char* name : list)
            mapping.ValidateMapping(name, kToolName);
}

}  // namespace vellcfgrdr
