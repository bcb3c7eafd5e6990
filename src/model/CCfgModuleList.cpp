#include "model/CCfgModuleList.h"

#include <utility>

#include "core/ErrNum.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CCfgDropList.h"
#include "model/CCfgRackList.h"
#include "model/CIoConfig.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CCfgModuleList");

}  // namespace

CIoConfig& CCfgModuleList::IoConfig() const noexcept {
    return parent_.IoConfig();
}

void CCfgModuleList::AddModuleById(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                                   int16_t moduleId) {
    const CCfgDrop* d = parent_.DropList().DropByKey(bus, drop);
    if (!d)
        throw CVellError(ErrNum::kObjectNotSet,
                         ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
    const std::string name = IoConfig().RequirePartInfo().ModuleNameFromId(moduleId, d->IoFamily());
    SetModule(bus, drop, rack, slot, name);
}

const CCfgModule* CCfgModuleList::FindModule(int32_t bus, int32_t drop, int32_t rack,
                                             int32_t slot) const {
    ModGSCore::Assert(rack != 0, "iRack <> 0", kWhere, "FindModule");
    if (rack == 0 || !Fits16(bus) || !Fits16(drop) || !Fits16(rack)) return nullptr;
    return modules_.Find(ModuleKey{bus, drop, rack, slot});
}

CCfgModule* CCfgModuleList::FindModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot) {
    return const_cast<CCfgModule*>(std::as_const(*this).FindModule(bus, drop, rack, slot));
}

std::string CCfgModuleList::ModuleNameIn(int32_t bus, int32_t drop, int32_t rack,
                                         int32_t slot) const {
    const CCfgModule* m = FindModule(bus, drop, rack, slot);
    return m ? m->PartName() : std::string();
}

void CCfgModuleList::SetModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                               std::string_view name) {
    try {
        parent_.MakeSureRackExists(bus, drop, rack);
        std::string part = IoConfig().RequirePartMapping().ToPartRef(IoConfig().LimitText(name));
        Place(bus, drop, rack, slot, part);
        CheckUnknownModule(part);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "SetModule");
    }
}

void CCfgModuleList::PlaceModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                                 std::string_view name, bool reportUnknown) {
    try {
        name = IoConfig().LimitText(name);
        parent_.MakeSureRackExists(bus, drop, rack);
        std::string part = IoConfig().RequirePartMapping().ToPartRef(name);
        const bool known = !part.empty() && IoConfig().RequirePartInfo().PartExists(part);
        Place(bus, drop, rack, slot, std::move(part));
        if (!known && reportUnknown)
            IoConfig().InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgUnknownModuleAt),
                                                    {std::string(name), drop, rack, slot}),
                                   eMsgWarning, "CCfgModuleList");
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "PlaceModule");
    }
}

void CCfgModuleList::Place(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                           std::string name) {
    ModGSCore::Assert(rack >= 0, "iRack >= 0", kWhere, "SetModule");
    try {
        CCfgModule m;
        m.SetBusNum(ToNum16(bus));
        m.SetDropNum(ToNum16(drop));
        m.SetRackNum(ToNum16(rack));
        m.SetSlotnum(slot);
        const ModuleKey key{bus, drop, rack, slot};
        modules_.Remove(key);
        if (name.empty()) return;
        m.SetPartName(std::move(name));
        modules_.Add(key, std::move(m));
    } catch (...) {
        IoConfig().ErrorReport(kWhere, "SetModule");
    }
}

void CCfgModuleList::CheckUnknownModule(const std::string& name) const {
    if (name.empty() || name.find("ModuleID_") != std::string::npos) return;
    if (IoConfig().RequirePartInfo().PartExists(name)) return;
    IoConfig().InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgUnknownModule), {name}),
                           eMsgWarning, "CCfgModuleList");
}

}  // namespace vellcfgrdr
