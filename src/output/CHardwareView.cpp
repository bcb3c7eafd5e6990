#include "output/CHardwareView.h"

#include <algorithm>
#include <unordered_map>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ModGSCore.h"
#include "model/CIoConfig.h"
#include "output/CLoomWriter.h"
#include "parts/CPartNaming.h"
#include "parts/IPartInfo.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CHardwareView");

uint64_t ParentKey(int32_t bus, int32_t drop = 0, int32_t rack = 0) noexcept {
    return (uint64_t{static_cast<uint16_t>(bus)} << 32) |
           (uint64_t{static_cast<uint16_t>(drop)} << 16) | uint64_t{static_cast<uint16_t>(rack)};
}

std::vector<std::string> PicklistOrNone(const IPartInfo& parts, const std::string& name) {
    // The writer takes a list that cannot be had as no list.
    try {
        return parts.Picklist(name);
    } catch (...) {
        return {};
    }
}

// The writer's module type: the special positions hold power supplies.
std::string ModuleType(const IPartInfo& parts, const std::string& name, int32_t slot) {
    if (slot == skX || slot == skPower || slot == skPower2)
        return CCvtEnum::PartTypeToString(ptPower);
    const int32_t type = parts.PartType(name);
    return CCvtEnum::PartTypeToString(type == ptCpu || type == ptPower ? type : ptModule);
}

}  // namespace

CHardwareView::CHardwareView(const CIoConfig& root, std::shared_ptr<const IPartInfo> partInfo)
    : partInfo_(std::move(partInfo)) {
    try {
        if (!partInfo_)
            throw CVellError(ErrNum::kObjectNotSet,
                             ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
        const std::string& path = root.ProjectFileName();
        fileName_ = CFileSys::FileNamePart(path);
        folder_ = CFileSys::FilePathPart(path);
        format_ = CCvtEnum::ProjectFormatToString(root.ProjectFormat());
        vendor_ = CLoomWriter::VendorName(root.ProjectFormat());
        plcFamily_ = CCvtEnum::PlcFamilyToString(root.PlcFamily());
        plc_ = PlcOrRack(root.PlcName(), root.PlcName());
        Tally(plc_);

        std::unordered_map<uint64_t, std::vector<const CCfgDrop*>> drops;
        std::unordered_map<uint64_t, std::vector<const CCfgRack*>> racks;
        std::unordered_map<uint64_t, std::vector<const CCfgModule*>> modules;
        for (const CCfgDrop& d : root.DropList())
            drops[ParentKey(d.BusNum())].push_back(&d);
        for (const CCfgRack& r : root.RackList())
            racks[ParentKey(r.BusNum(), r.DropNum())].push_back(&r);
        for (const CCfgModule& m : root.ModuleList())
            modules[ParentKey(m.BusNum(), m.DropNum(), m.rackNum())].push_back(&m);

        const std::string generic = CPartNaming::Instance()->GenericPart();
        for (const CCfgBus& b : root.BusList()) {
            Bus& bus = buses_.emplace_back();
            bus.number = b.BusNum();
            bus.type = CCfgBus::NormalizeTypename(b.Typename(), false);
            bus.topoAddress = b.TopoAddress();
            ++totals_.buses;
            for (const CCfgDrop* d : drops[ParentKey(b.BusNum())]) {
                Drop& drop = bus.drops.emplace_back();
                drop.number = d->DropNum();
                drop.type = !d->Name().empty() ? d->Name() : d->DropNum() == 1 ? "local" : "remote";
                if (d->IoFamily() != plcNone)
                    drop.family = CCvtEnum::PlcFamilyToString(d->IoFamily());
                drop.topoAddress = d->TopoAddress();
                ++totals_.drops;
                const int32_t family = d->IoFamily() != plcNone ? d->IoFamily() : root.PlcFamily();
                const int32_t minSlot =
                    root.FamilyInfo() ? root.FamilyInfo()->MinSlot(family) : int32_t{0};
                for (const CCfgRack* r : racks[ParentKey(b.BusNum(), d->DropNum())]) {
                    Rack& rack = drop.racks.emplace_back();
                    rack.number = r->rackNum();
                    rack.topoAddress = r->TopoAddress();
                    const std::string& display = r->PartName().empty() ? generic : r->PartName();
                    rack.part = PlcOrRack(
                        display, display + "Rack" + CCvtEnum::PlcFamilyToString(d->IoFamily()));
                    rack.firstSlot = minSlot;
                    // Only a rack the catalogue settles has a backplane to draw;
                    // placeholders and unknown names carry no real slot count.
                    if (rack.part.resolution == Resolution::resolved)
                        rack.slotCount = std::max<int32_t>(0, partInfo_->SlotCount(display));
                    ++totals_.racks;
                    Tally(rack.part);
                    for (const CCfgModule* m :
                         modules[ParentKey(b.BusNum(), d->DropNum(), r->rackNum())]) {
                        Module& module = rack.modules.emplace_back();
                        module.slot = m->Slotnum();
                        module.position = CCvtEnum::SlotKindToString(m->Slotnum());
                        module.type = ModuleType(*partInfo_, m->PartName(), m->Slotnum());
                        module.part = ModulePart(m->PartName());
                        ++totals_.modules;
                        Tally(module.part);
                    }
                }
            }
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Class_Initialize");
    }
}

// The writer's rules for the PLC and for racks: a part number when resolved,
// else the pick list of pickKey, else an ignore flag.
CHardwareView::Part CHardwareView::PlcOrRack(const std::string& name,
                                             const std::string& pickKey) const {
    Part part{name, Resolution::unresolved, {}};
    const bool exists = partInfo_->PartExists(name, false);
    if (exists && PicklistOrNone(*partInfo_, name).empty() && name == CUtf8::ToUpper(name)) {
        part.resolution = Resolution::resolved;
        return part;
    }
    part.candidates = PicklistOrNone(*partInfo_, pickKey);
    if (!part.candidates.empty()) part.resolution = Resolution::ambiguous;
    return part;
}

// A module is ambiguous where the writer gives it a pick list (a known name
// with two candidates or more) and resolved when the catalogue knows it.
CHardwareView::Part CHardwareView::ModulePart(const std::string& name) const {
    Part part{name, Resolution::unresolved, {}};
    if (!partInfo_->PartExists(name, false)) return part;
    std::vector<std::string> list = partInfo_->Picklist(name);
    if (list.size() >= 2) {
        part.resolution = Resolution::ambiguous;
        part.candidates = std::move(list);
    } else {
        part.resolution = Resolution::resolved;
    }
    return part;
}

void CHardwareView::Tally(const Part& part) {
    switch (part.resolution) {
        case Resolution::resolved:
            ++totals_.resolved;
            break;
        case Resolution::ambiguous:
            ++totals_.ambiguous;
            break;
        case Resolution::unresolved:
            ++totals_.unresolved;
            break;
    }
}

const char* CHardwareView::ResolutionName(Resolution r) noexcept {
    switch (r) {
        case Resolution::resolved:
            return "resolved";
        case Resolution::ambiguous:
            return "ambiguous";
        case Resolution::unresolved:
            break;
    }
    return "unresolved";
}

}  // namespace vellcfgrdr
