#include "model/CModelCheck.h"

#include <string>

#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CModelCheck";

std::string Address(int32_t bus) {
    return std::to_string(bus);
}
std::string Address(int32_t bus, int32_t drop) {
    return Address(bus) + "." + std::to_string(drop);
}
std::string Address(int32_t bus, int32_t drop, int32_t rack) {
    return Address(bus, drop) + "." + std::to_string(rack);
}

// The address of the first of bus, drop and rack that is missing; empty
// when the drop (and, with a rack, the rack) can be written.
std::string MissingParent(const CIoConfig& root, int32_t bus, int32_t drop) {
    if (!root.BusList().BusByNum(bus)) return Address(bus);
    if (!root.DropList().DropByKey(bus, drop)) return Address(bus, drop);
    return {};
}

}  // namespace

int32_t CModelCheck::LeftOut(const CIoConfig& root) {
    int32_t count = 0;
    auto warn = [&](MsgId id, std::initializer_list<FmtArg> args) {
        root.InfoMessage(CStdLib::Sprintf(modResStr::ResString(id), args), eMsgWarning, kSource);
        ++count;
    };
    for (const CCfgDrop& d : root.DropList())
        if (!root.BusList().BusByNum(d.BusNum()))
            warn(msgDropLeftOut, {d.TopoAddress(), Address(d.BusNum())});
    for (const CCfgRack& r : root.RackList()) {
        const std::string missing = MissingParent(root, r.BusNum(), r.DropNum());
        if (!missing.empty()) warn(msgRackLeftOut, {r.PartName(), r.TopoAddress(), missing});
    }
    for (const CCfgModule& m : root.ModuleList()) {
        std::string missing = MissingParent(root, m.BusNum(), m.DropNum());
        if (missing.empty() && !root.RackList().RackByKey(m.BusNum(), m.DropNum(), m.rackNum()))
            missing = Address(m.BusNum(), m.DropNum(), m.rackNum());
        if (!missing.empty())
            warn(msgModuleLeftOutNoParent,
                 {m.PartName(),
                  Address(m.BusNum(), m.DropNum(), m.rackNum()) + "." + std::to_string(m.Slotnum()),
                  missing});
    }
    return count;
}

}  // namespace vellcfgrdr
