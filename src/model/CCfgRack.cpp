#include "model/CCfgRack.h"

namespace vellcfgrdr {

void CCfgRack::Create(int16_t bus, int16_t drop, int16_t rack, std::string partName) {
    busNum_ = bus;
    dropNum_ = drop;
    rackNum_ = rack;
    partName_ = std::move(partName);
}

std::string CCfgRack::TopoAddress() const {
    return std::to_string(busNum_) + "." + std::to_string(dropNum_) + "." +
           std::to_string(rackNum_);
}

}  // namespace vellcfgrdr
