#pragma once

#include <cstdint>
#include <string>

namespace vellcfgrdr {

// One rack, identified by bus, drop and rack number; names its backplane.
class CCfgRack {
  public:
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
