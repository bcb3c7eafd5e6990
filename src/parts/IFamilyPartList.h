#pragma once

#include <cstdint>
#include <string>

namespace vellcfgrdr {

// The names of all parts of one family, then of every family-neutral part.
class IFamilyPartList {
  public:
    virtual ~IFamilyPartList() = default;

    virtual int32_t Count() const = 0;
    // 1-based; out of range raises 9.
    virtual const std::string& Part(int32_t index) const = 0;
    virtual int32_t PlcFamily() const = 0;
};

}  // namespace vellcfgrdr
