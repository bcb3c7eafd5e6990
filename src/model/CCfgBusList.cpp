#include "model/CCfgBusList.h"

#include "core/Enums.h"
#include "model/CIoConfig.h"
#include "model/ModelKeys.h"

namespace vellcfgrdr {

const CCfgBus* CCfgBusList::BusByIndex(int32_t index) const {
    if (index < 1 || index > buses_.Count()) return nullptr;
    return &buses_.At(index);
}

const CCfgBus* CCfgBusList::BusByNum(int32_t busNum) const {
    if (!Fits16(busNum)) return nullptr;
    return buses_.Find(static_cast<int16_t>(busNum));
}

bool CCfgBusList::AddBus(int32_t busNum, std::string_view typeName) {
    try {
        CCfgBus bus;
        bus.SetBusNum(ToNum16(busNum));
        bus.SetTypename(IoConfig().LimitText(typeName));
        buses_.Remove(bus.BusNum());
        buses_.Add(bus.BusNum(), std::move(bus));
        return true;
    } catch (...) {
        parent_.ErrorReport(Where::Object("CCfgBusList"), "Add");
        return false;
    }
}

void CCfgBusList::MakeSureBusExists(int32_t busNum, int32_t dropFamily) {
    if (BusByNum(busNum)) return;
    std::string_view type;
    switch (parent_.PlcFamily()) {
        case plcKestrel:
        case plcGarnetSeries:
            type = dropFamily == 0   ? "Keel"
                   : dropFamily == 1 ? "LocalRemote"
                   : dropFamily == 2 ? "Distributed"
                                     : "";
            break;
        case plcWren:
            type = "Local";
            break;
        case plcHeron:
        case plcOsprey:
        case plcLark:
            type = "Tbus";
            break;
        case plcPlc5:
        case plcControlLogix:
            type = "Rockwell";
            break;
        default:
            type = "Generic Bus";
            break;
    }
    AddBus(busNum, type);
}

}  // namespace vellcfgrdr
