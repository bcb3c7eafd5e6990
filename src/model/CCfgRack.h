#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One rack, identified by bus, drop and rack number; names its backplane.
class CCfgRack {
  public:
    // The part name of a rack that is no part to order: the devices of a
    // network, or the modules of a controller line that has no chassis.
    static constexpr std::string_view kNoChassis = "no chassis";

    int16_t BusNum() const noexcept { return busNum_; }
    int16_t DropNum() const noexcept { return dropNum_; }
    int16_t rackNum() const noexcept { return rackNum_; }
    // May be empty.
    const std::string& PartName() const noexcept { return partName_; }
    void Create(int16_t bus, int16_t drop, int16_t rack, std::string partName);
    // "bus.drop.rack"
    std::string TopoAddress() const;

  private:
    int16_t busNum_ = 0;
    int16_t dropNum_ = 0;
    int16_t rackNum_ = 0;
    std::string partName_;
};

}  // namespace vellcfgrdr
