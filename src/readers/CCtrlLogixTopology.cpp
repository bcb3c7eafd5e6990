#include "readers/CCtrlLogixTopology.h"

#include <unordered_map>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "support/CStdLib.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadCtrlLogix";
constexpr int32_t kDropFamily = DropFamily::kControlLogix;
constexpr size_t kNone = static_cast<size_t>(-1);
constexpr size_t kMaxDrops = 32767;  // drop numbers are 16-bit

// Port labels of the text export and port types of the XML export.
constexpr std::string_view kBackplanes[] = {"RxBACKPLANE", "ICP",  "Compact", "CompactBus",
                                            "PointIO",     "Flex", "5094",    "5069",
                                            "RIOChassis",  "1768", "1769"};
constexpr std::pair<std::string_view, std::string_view> kNetworks[] = {
    {"ENet", "Ethernet"},
    {"Ethernet", "Ethernet"},
    {"EtherNet/IP", "Ethernet"},
    {"CNet", "ControlNet"},
    {"ControlNet", "ControlNet"},
    {"DHRIO", "RIO"},
    {"RIO", "RIO"},
    {"DH+", "DH+"},
    {"DNet", "DeviceNet"},
    {"DeviceNet", "DeviceNet"},
    {"SERCOS", "SERCOS"},
    {"Serial", "Serial"},
};

bool IsBackplaneName(std::string_view label) {
    for (std::string_view b : kBackplanes)
        if (CUtf8::EqualsNoCase(label, b)) return true;
    return CUtf8::FindNoCase(label, "BACKPLANE") != CUtf8::npos;
}

const std::string_view* KnownNetwork(std::string_view label) {
    for (const auto& [given, name] : kNetworks)
        if (CUtf8::EqualsNoCase(label, given)) return &name;
    return nullptr;
}

const std::string& Label(const CCtrlLogixPart& part) {
    return part.PortLabel().empty() ? part.PortType() : part.PortLabel();
}

}  // namespace

struct CCtrlLogixTopology::Drop {
    enum Kind { kChassis, kSecondary, kOrphan, kNetwork };
    Kind kind = kOrphan;
    size_t head = kNone;  // the module whose chassis this is
    std::string label;    // the network's port label
    std::vector<size_t> members;
};

bool CCtrlLogixTopology::IsNetwork(std::string_view label, int32_t port) {
    if (IsBackplaneName(label)) return false;
    if (KnownNetwork(label)) return true;
    // Port 1 is the backplane port of every chassis module.
    return port > 1;
}

std::string CCtrlLogixTopology::NetworkName(std::string_view label) {
    if (const std::string_view* name = KnownNetwork(label)) return std::string(*name);
    return label.empty() ? std::string("Network") : std::string(label);
}

int32_t CCtrlLogixTopology::Build(const std::vector<CCtrlLogixPart>& parts,
                                  const std::string& processorType) {
    const size_t n = parts.size();
    std::unordered_map<std::string_view, size_t> byName;
    byName.reserve(n);
    size_t controller = kNone;
    for (size_t i = 0; i < n; ++i) {
        const CCtrlLogixPart& p = parts[i];
        byName.emplace(p.Name(), i);
        if (controller == kNone && p.parent() == p.Name() && CUtf8::EqualsNoCase(p.Name(), "Local"))
            controller = i;
    }
    auto parentOf = [&](size_t i) {
        const auto it = byName.find(parts[i].parent());
        return it == byName.end() || it->second == i ? kNone : it->second;
    };

    // Heads: the controller, every module with a chassis size, and every
    // module with plain modules on a backplane port.
    std::vector<char> network(n), head(n);
    std::vector<int32_t> primary(n);  // the port of a head's own chassis
    for (size_t i = 0; i < n; ++i) {
        network[i] = IsNetwork(Label(parts[i]), parts[i].ParentPort());
        head[i] = i == controller || parts[i].chassisSize() != 0;
        primary[i] = parts[i].BackplanePort();
    }
    for (size_t i = 0; i < n; ++i) {
        if (network[i] || head[i]) continue;
        const size_t p = parentOf(i);
        if (p == kNone) continue;
        head[p] = 1;
        // Without the head's own word on it (a text export names no port),
        // its chassis is on the lowest port its modules use: port 1 is the
        // backplane of every chassis module, whatever order the modules
        // come in.
        if (parts[p].BackplanePort() == 0 &&
            (primary[p] == 0 || parts[i].ParentPort() < primary[p]))
            primary[p] = parts[i].ParentPort();
    }

    // Drops in order of first appearance, the controller's first.
    std::vector<Drop> drops;
    std::unordered_map<std::string, size_t> dropOf;
    int32_t leftOut = 0;
    auto dropFor = [&](std::string key, Drop::Kind kind, size_t headOf) -> Drop* {
        auto it = dropOf.find(key);
        if (it == dropOf.end()) {
            if (drops.size() >= kMaxDrops) return nullptr;
            it = dropOf.emplace(std::move(key), drops.size()).first;
            drops.emplace_back().kind = kind;
        }
        Drop& d = drops[it->second];
        if (headOf != kNone) d.head = headOf;
        return &d;
    };
    const std::string sep(1, '\x1f');
    if (controller != kNone)
        dropFor("C" + sep + parts[controller].Name(), Drop::kChassis, controller);
    for (size_t i = 0; i < n; ++i) {
        const CCtrlLogixPart& p = parts[i];
        if (head[i]) {
            if (!dropFor("C" + sep + p.Name(), Drop::kChassis, i)) ++leftOut;
            continue;
        }
        const std::string port = std::to_string(p.ParentPort());
        const size_t parent = parentOf(i);
        Drop* d = nullptr;
        if (network[i]) {
            d = dropFor("N" + sep + p.parent() + sep + port, Drop::kNetwork, kNone);
            if (d && d->members.empty()) d->label = Label(p);
        } else if (parent == kNone) {
            d = dropFor("O" + sep + p.parent() + sep + port, Drop::kOrphan, kNone);
        } else if (p.ParentPort() == primary[parent] || p.ParentPort() == 0) {
            d = dropFor("C" + sep + p.parent(), Drop::kChassis, parent);
        } else {
            d = dropFor("S" + sep + p.parent() + sep + port, Drop::kSecondary, parent);
        }
        if (d)
            d->members.push_back(i);
        else
            ++leftOut;
    }

    controller_ = controller == kNone ? nullptr : &parts[controller];
    // An empty catalogue number names no processor: the processor type does.
    if (controller_) {
        const std::string catalog = controller_->CatalogNumber();
        SetController(catalog.empty() ? processorType : catalog, controller_->Slot());
    }
    root_.SetPlcFamily(plcControlLogix);
    root_.BusList().AddBus(0, "ControlLogix Bus");
    for (size_t k = 0; k < drops.size(); ++k) {
        const int32_t drop = static_cast<int32_t>(k + 1);
        if (drops[k].kind == Drop::kNetwork)
            FillNetwork(drop, drops[k], parts);
        else
            FillChassis(drop, drops[k], parts);
    }
    // Without a "Local" controller module the processor type of the
    // controller names the PLC.
    if ((root_.PlcName().empty() || root_.PlcName() == modResStr::ResString(msgPlcNotValid)) &&
        !processorType.empty())
        SetController(processorType, firstSlot_);
    if (leftOut > 0) {
        root_.InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgDropsLeftOut),
                                           {leftOut, static_cast<int32_t>(kMaxDrops)}),
                          eMsgWarning, kSource);
        result_ = ErrNum::kWarnings;
    }
    return result_;
}

void CCtrlLogixTopology::SetController(std::string catalogNumber, int32_t slot) {
    const IPartInfo& parts = root_.RequirePartInfo();
    // An empty catalogue number would be "the start of" every processor.
    if (!catalogNumber.empty() && !parts.PartExists(catalogNumber)) {
        std::string hit;
        for (const std::string& name : parts.PartNamesSubset(plcControlLogix, ptCpu)) {
            if (CStdLib::StringStartsWith(name, catalogNumber, false)) {
                hit = name;
                break;
            }
        }
        if (hit.empty()) {
            for (const std::string& pattern :
                 CStdLib::Split(root_.RequireFamilyInfo().GenericCPUs(plcControlLogix), '|')) {
                if (!pattern.empty() && CWildcard::Matches(catalogNumber, pattern)) {
                    hit = pattern;
                    for (char& c : hit)
                        if (c == '#' || c == '*' || c == '?') c = 'x';
                    break;
                }
            }
        }
        if (!hit.empty()) catalogNumber = hit;
    }
    root_.SetPlcName(catalogNumber);
    root_.SetPlcFamily(plcControlLogix);
    if (slot == 0 && firstSlot_ != 0) slot = firstSlot_;
    root_.BusList().MakeSureBusExists(0, kDropFamily);
    root_.DropList().MakeSureDropExists(0, 1, kDropFamily);
    if (!catalogNumber.empty()) root_.ModuleList().PlaceModule(0, 1, 1, slot, catalogNumber);
}

std::string CCtrlLogixTopology::ChassisPart(int32_t size) const {
    // The chassis sizes that exist are named as they are; other sizes take
    // the next chassis up.
    const std::string exact = "1756-A" + std::to_string(size);
    if (size > 0 && root_.RequirePartInfo().PartExists(exact, true)) return exact;
    return size < 8 ? "1756-A7" : size <= 10 ? "1756-A10" : "1756-A17";
}

void CCtrlLogixTopology::FillChassis(int32_t drop, const Drop& d,
                                     const std::vector<CCtrlLogixPart>& parts) {
    root_.DropList().AddDrop3(0, drop, kDropFamily, "LocalRemote");
    const CCtrlLogixPart* head = d.head == kNone ? nullptr : &parts[d.head];
    if (d.kind == Drop::kChassis && head) {
        if (head->chassisSize() != 0 && firstSlot_ == 0 && head->Slot() != 0)
            firstSlot_ = head->Slot();
        const std::string& name = head == controller_ ? root_.PlcName() : head->CatalogNumber();
        if (!CUtf8::StartsWithNoCase(name, "1756-"))
            root_.RackList().SetRack(0, drop, 1, CCfgRack::kNoChassis);
        else if (head->chassisSize() > 0)
            root_.RackList().SetRack(0, drop, 1, ChassisPart(head->chassisSize()));
        if (head != controller_ && head->HasSlot()) Place(drop, 1, *head, head->Slot());
    } else if (d.kind == Drop::kSecondary) {
        root_.RackList().SetRack(0, drop, 1, CCfgRack::kNoChassis);
    }
    root_.RackList().MakeSureRackExists(0, drop, 1);
    int32_t rack = 1;
    for (size_t m : d.members) {
        const CCtrlLogixPart& part = parts[m];
        PortLabel2Rack(drop, rack, part.PortLabel());
        root_.RackList().MakeSureRackExists(0, drop, rack);
        Place(drop, rack, part, part.Slot());
    }
    // A head that names no slot of its own takes the first free one.
    if (d.kind == Drop::kChassis && head && head != controller_ && !head->HasSlot()) {
        int32_t slot = 0;
        while (!root_.ModuleList().ModuleNameIn(0, drop, 1, slot).empty())
            ++slot;
        Place(drop, 1, *head, slot);
    }
}

void CCtrlLogixTopology::FillNetwork(int32_t drop, const Drop& d,
                                     const std::vector<CCtrlLogixPart>& parts) {
    root_.DropList().AddDrop3(0, drop, kDropFamily, NetworkName(d.label) + " network");
    root_.RackList().SetRack(0, drop, 1, CCfgRack::kNoChassis);
    int32_t position = 1;
    for (size_t m : d.members)
        Place(drop, 1, parts[m], position++);
}

void CCtrlLogixTopology::Place(int32_t drop, int32_t rack, const CCtrlLogixPart& part,
                               int32_t slot) {
    CCfgModuleList& modules = root_.ModuleList();
    const std::string there = modules.ModuleNameIn(0, drop, rack, slot);
    if (there.empty()) {
        modules.PlaceModule(0, drop, rack, slot, part.CatalogNumber());
    } else if (&part != controller_) {
        // The first module keeps the position; the planner must hear of
        // the one that is left out.
        root_.InfoMessage(
            CStdLib::Sprintf(modResStr::ResString(msgModuleLeftOut),
                             {part.Name(), part.CatalogNumber(), drop, rack, slot, there}),
            eMsgWarning, kSource);
        result_ = ErrNum::kWarnings;
    }
}

void CCtrlLogixTopology::PortLabel2Rack(int32_t drop, int32_t& rack, const std::string& label) {
    // Labels such as "RxBACKPLANE" or "ENet" carry no rack number.
    if (label.empty() || IsBackplaneName(label) || KnownNetwork(label)) return;
    const std::string tail(CUtf8::Right(CUtf8::Trim(label), 2));
    if (!CStdLib::IsNumeric(tail)) return;
    const int32_t number = CStdLib::Atol(tail);
    if (number < 1) {
        root_.InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgInvalidRackNumber), {tail}),
                          eMsgWarning, kSource);
        return;
    }
    rack = number;
    root_.RackList().SetRack(
        0, drop, rack,
        root_.RequireFamilyInfo().DefaultRack(plcControlLogix, static_cast<int16_t>(number)));
}

}  // namespace vellcfgrdr
