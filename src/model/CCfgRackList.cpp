#include "model/CCfgRackList.h"

#include "core/CCvtEnum.h"
#include "core/Enums.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CCfgDropList.h"
#include "model/CIoConfig.h"
#include "parts/CPartNaming.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr int32_t kMaxRackNumber = 16;

}  // namespace

CIoConfig& CCfgRackList::IoConfig() const noexcept {
    return parent_.IoConfig();
}

const CCfgRack* CCfgRackList::RackByKey(int32_t bus, int32_t drop, int32_t rack) const {
    if (!Fits16(bus) || !Fits16(drop) || !Fits16(rack)) return nullptr;
    return racks_.Find(
        RackKey{static_cast<int16_t>(bus), static_cast<int16_t>(drop), static_cast<int16_t>(rack)});
}

std::string CCfgRackList::rackName(int32_t bus, int32_t drop, int32_t rack) const {
    const CCfgRack* r = RackByKey(bus, drop, rack);
    return r ? r->PartName() : std::string();
}

void CCfgRackList::MakeSureRackExists(int32_t bus, int32_t drop, int32_t rack) {
    const int32_t family = parent_.CheckDropFamily(bus, drop);
    if (RackByKey(bus, drop, rack)) return;
    const std::string part = IoConfig().RequireFamilyInfo().DefaultRack(family, ToNum16(rack));
    // The family information warns only its own listeners, and no
    // conversion is one of them: the user is told here why the rack is
    // "generic".
    if (family != plcNone && part == CPartNaming::Instance()->GenericPart())
        IoConfig().InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgNoDefaultRack),
                                                {CCvtEnum::PlcFamilyToString(family)}),
                               eMsgWarning, "CFamilyInfo");
    AddRack(bus, drop, rack, part);
}

bool CCfgRackList::AddRack(int32_t bus, int32_t drop, int32_t rack, std::string_view partName) {
    try {
        const RackKey key{ToNum16(bus), ToNum16(drop), ToNum16(rack)};
        if (!parent_.DropByKey(bus, drop))
            parent_.AddDrop3(bus, drop, PlcFamilyToDropFamily(IoConfig().PlcFamily()), "");
        if (racks_.Contains(key)) return false;
        CCfgRack r;
        r.Create(key[0], key[1], key[2], std::string(IoConfig().LimitText(partName)));
        racks_.Add(key, std::move(r));
        if (rack > kMaxRackNumber)
            IoConfig().InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgInvalidRackNumber),
                                                    {KeyText({bus, drop, rack})}),
                                   eMsgWarning, "CCfgRackList");
        return true;
    } catch (...) {
        IoConfig().ErrorReport(Where::Object("CCfgRackList"), "AddRack");
        return false;
    }
}

bool CCfgRackList::RemoveRack(int32_t bus, int32_t drop, int32_t rack) {
    if (!Fits16(bus) || !Fits16(drop) || !Fits16(rack)) return false;
    return racks_.Remove(
        RackKey{static_cast<int16_t>(bus), static_cast<int16_t>(drop), static_cast<int16_t>(rack)});
}

void CCfgRackList::SetRack(int32_t bus, int32_t drop, int32_t rack, std::string_view partName) {
    try {
        RemoveRack(bus, drop, rack);
        AddRack(bus, drop, rack, partName);
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CCfgRackList"), "SetRack");
    }
}

int32_t CCfgRackList::PlcFamilyToDropFamily(int32_t plcFamily) noexcept {
    switch (plcFamily) {
        case plcWren:
            return DropFamily::kWrenBrisk;
        case plcSlc500:
            return DropFamily::kSlc500;
        case plcBrisk7:
            return DropFamily::kBrisk7;
        case plcLark:
        case plcOsprey:
        case plcRaven:
            return DropFamily::kRaven;
        case plcGarnetSeries:
            return DropFamily::kDunlin;
        case plcKestrel:
            return DropFamily::kKestrel;
        case plcSorrel:
            return DropFamily::kSorrel;
        case plcHeron:
            return DropFamily::kHeron;
        case plcControlLogix:
            return DropFamily::kControlLogix;
        case plcPlover:
            return DropFamily::kInterbus2;
        default:
            return -1;
    }
}

}  // namespace vellcfgrdr
