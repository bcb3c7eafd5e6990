#include "output/CLoomWriter.h"

#include <charconv>
#include <cstdlib>
#include <ctime>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "model/CIoConfig.h"
#include "output/CConfigXmlDtd.h"
#include "output/CXMLDocument.h"
#include "parts/CPartNaming.h"
#include "parts/IPartInfo.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

using Dtd = CConfigXmlDtd;

const Where kWhere = Where::Object("CLoomWriter");
constexpr std::string_view kNotice =
    "Exchange file of the PLC I/O configuration, written by VellCfgRdr";

// Bus, drop and rack numbers are 16-bit, so they pack into one key without
// collisions; each level has its own map.
uint64_t ParentKey(int32_t bus, int32_t drop = 0, int32_t rack = 0) noexcept {
    return (uint64_t{static_cast<uint16_t>(bus)} << 32) |
           (uint64_t{static_cast<uint16_t>(drop)} << 16) | uint64_t{static_cast<uint16_t>(rack)};
}

template <class Map>
const typename Map::mapped_type* Children(const Map& map, uint64_t key) {
    const auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

// Only plain decimal digits count: a value that is not a whole number of
// seconds must not silently become some other time.
bool ParseEpoch(std::string_view text, std::time_t& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return false;
    out = static_cast<std::time_t>(value);
    return true;
}

}  // namespace

CLoomWriter::CLoomWriter(std::shared_ptr<const IPartInfo> partInfo)
    : partInfo_(std::move(partInfo)) {}

CLoomWriter::~CLoomWriter() = default;

std::string CLoomWriter::CreateXml(const CIoConfig& root) {
    try {
        if (!partInfo_)
            throw CVellError(ErrNum::kObjectNotSet,
                             ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
        root_ = &root;
        doc_ = std::make_unique<CXMLDocument>();
        facts_.clear();
        IndexModel();
        CreateRootNode();
        CreateProjectNode();
        WritePlcNode();
        WriteBusses();
        return doc_->FormattedXML();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CreateXml");
    }
}

std::string CLoomWriter::DateTimeText() {
    std::tm tm{};
    bool fixed = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        std::time_t t = 0;
        fixed = ParseEpoch(epoch, t) && gmtime_r(&t, &tm) != nullptr;
    }
    if (!fixed) {
        const std::time_t now = std::time(nullptr);
        tm = std::tm{};
        localtime_r(&now, &tm);
    }
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(text, n);
}

void CLoomWriter::IndexModel() {
    dropsByBus_.clear();
    racksByDrop_.clear();
    modulesByRack_.clear();
    for (const CCfgDrop& d : root_->DropList())
        dropsByBus_[ParentKey(d.BusNum())].push_back(&d);
    for (const CCfgRack& r : root_->RackList())
        racksByDrop_[ParentKey(r.BusNum(), r.DropNum())].push_back(&r);
    for (const CCfgModule& m : root_->ModuleList())
        modulesByRack_[ParentKey(m.BusNum(), m.DropNum(), m.rackNum())].push_back(&m);
}

void CLoomWriter::CreateRootNode() {
    try {
        xmlRoot_ = doc_->Create(Dtd::XeRoot(), kNotice);
        doc_->CreateAttribute(xmlRoot_, Dtd::XaVersion(), "2.0");
        doc_->CreateAttribute(xmlRoot_, Dtd::XaDateTime(), DateTimeText());
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CreateRootNode");
    }
}

void CLoomWriter::CreateProjectNode() {
    try {
        const std::string& path = root_->ProjectFileName();
        xmlProject_ = doc_->AppendChild(xmlRoot_, Dtd::XeProject(), "");
        doc_->CreateAttribute(xmlProject_, Dtd::XaFileName(), CFileSys::FileNamePart(path));
        doc_->CreateAttribute(xmlProject_, Dtd::XaFileType(),
                              CCvtEnum::ProjectFormatToString(root_->ProjectFormat()));
        doc_->CreateAttribute(xmlProject_, Dtd::XaVendor(), VendorName(root_->ProjectFormat()));
        doc_->CreateAttribute(xmlProject_, Dtd::XaPath(), CFileSys::FilePathPart(path));
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CreateProjectNode");
    }
}

void CLoomWriter::WritePlcNode() {
    try {
        const std::string& name = root_->PlcName();
        xmlPlc_ = doc_->AppendChild(xmlProject_, Dtd::XePlc(), "");
        doc_->CreateAttribute(xmlPlc_, Dtd::XaType(),
                              CCvtEnum::PlcFamilyToString(root_->PlcFamily()));
        doc_->CreateAttribute(xmlPlc_, "displayPart", name);
        // The number to order is the catalogue's, whatever spelling the
        // project used (1747L532 for 1747-L532).
        if (IsResolvedPart(name))
            doc_->CreateAttribute(xmlPlc_, "partNumber", partInfo_->CanonicalName(name));
        else if (HasPickList(name))
            WritePickList(Picklist(name), xmlPlc_);
        else
            doc_->CreateAttribute(xmlPlc_, "ignoreError", "true");
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WritePlcNode");
    }
}

void CLoomWriter::WriteBusses() {
    try {
        for (const CCfgBus& bus : root_->BusList()) {
            xmlBus_ = doc_->AppendChild(xmlPlc_, Dtd::XeBus(), "");
            doc_->CreateAttribute(xmlBus_, Dtd::XaType(), MapBusType(bus.Typename()));
            doc_->CreateAttribute(xmlBus_, Dtd::XaPosition(), std::to_string(bus.BusNum()));
            doc_->CreateAttribute(xmlBus_, Dtd::XaTopoAddress(), bus.TopoAddress());
            WriteDrops(bus);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteBusses");
    }
}

void CLoomWriter::WriteDrops(const CCfgBus& bus) {
    try {
        const auto* drops = Children(dropsByBus_, ParentKey(bus.BusNum()));
        if (!drops) return;
        for (const CCfgDrop* drop : *drops) {
            xmlDrop_ = doc_->AppendChild(xmlBus_, Dtd::XeDrop(), "");
            if (drop->IoFamily() != plcNone)
                doc_->CreateAttribute(xmlDrop_, Dtd::XaFamily(),
                                      CCvtEnum::PlcFamilyToString(drop->IoFamily()));
            std::string_view type = drop->Name();
            if (type.empty()) type = drop->DropNum() == 1 ? "local" : "remote";
            doc_->CreateAttribute(xmlDrop_, Dtd::XaType(), type);
            doc_->CreateAttribute(xmlDrop_, Dtd::XaPosition(), std::to_string(drop->DropNum()));
            doc_->CreateAttribute(xmlDrop_, Dtd::XaTopoAddress(), drop->TopoAddress());
            WriteRacks(*drop);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteDrops");
    }
}

void CLoomWriter::WriteRacks(const CCfgDrop& drop) {
    try {
        const auto* racks = Children(racksByDrop_, ParentKey(drop.BusNum(), drop.DropNum()));
        if (!racks) return;
        const std::string generic = CPartNaming::Instance()->GenericPart();
        for (const CCfgRack* rack : *racks) {
            xmlRack_ = doc_->AppendChild(xmlDrop_, Dtd::XeRack(), "");
            const std::string& display = rack->PartName().empty() ? generic : rack->PartName();
            doc_->CreateAttribute(xmlRack_, "displayPart", display);
            if (IsResolvedPart(display)) {
                doc_->CreateAttribute(xmlRack_, "partNumber", partInfo_->CanonicalName(display));
            } else {
                // The family's placeholder rack (genericRackKestrel, ...) offers its racks.
                const std::string key =
                    display + "Rack" + CCvtEnum::PlcFamilyToString(drop.IoFamily());
                if (HasPickList(key))
                    WritePickList(Picklist(key), xmlRack_);
                else
                    doc_->CreateAttribute(
                        xmlRack_, drop.IoFamily() == plcPlover ? "ignorePart" : "ignoreError", "1");
            }
            doc_->CreateAttribute(xmlRack_, Dtd::XaPosition(), std::to_string(rack->rackNum()));
            doc_->CreateAttribute(xmlRack_, Dtd::XaTopoAddress(), rack->TopoAddress());
            WriteModules(*rack);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteRacks");
    }
}

void CLoomWriter::WriteModules(const CCfgRack& rack) {
    try {
        const auto* modules =
            Children(modulesByRack_, ParentKey(rack.BusNum(), rack.DropNum(), rack.rackNum()));
        if (!modules) return;
        for (const CCfgModule* module : *modules) {
            const std::string& name = module->PartName();
            xmlModule_ = doc_->AppendChild(xmlRack_, Dtd::XeModule(), "");
            doc_->CreateAttribute(xmlModule_, Dtd::XaType(),
                                  ModuleTypeText(name, module->Slotnum()));
            doc_->CreateAttribute(xmlModule_, Dtd::XaPartName(), name);
            doc_->CreateAttribute(xmlModule_, Dtd::XaPosition(),
                                  CCvtEnum::SlotKindToString(module->Slotnum()));
            // A single candidate is the part itself in another spelling:
            // nothing to choose.
            if (PartExists(name)) {
                const std::vector<std::string>& list = Picklist(name);
                if (list.size() >= 2) WritePickList(list, xmlModule_);
            }
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteModules");
    }
}

void CLoomWriter::WritePickList(const std::vector<std::string>& list, pugi::xml_node parent) {
    try {
        for (const std::string& entry : list) {
            const pugi::xml_node item = doc_->AppendChild(parent, Dtd::XePickList(), "");
            doc_->CreateAttribute(item, "partNumber", entry);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WritePickList");
    }
}

std::string CLoomWriter::MapBusType(std::string_view name) {
    try {
        return CCfgBus::NormalizeTypename(name, false);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "MapBusType");
    }
}

std::string CLoomWriter::ModuleTypeText(const std::string& name, int32_t slot) {
    try {
        if (slot == skX || slot == skPower || slot == skPower2)
            return CCvtEnum::PartTypeToString(ptPower);
        PartFacts& facts = Facts(name);
        if (!facts.type) facts.type = partInfo_->PartType(name);
        const int32_t type = *facts.type;
        return CCvtEnum::PartTypeToString(type == ptCpu || type == ptPower ? type : ptModule);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ModuleTypeText");
    }
}

bool CLoomWriter::IsResolvedPart(const std::string& name) {
    try {
        PartFacts& facts = Facts(name);
        if (!facts.resolved)
            facts.resolved = PartExists(name) && !HasPickList(name) && name == CUtf8::ToUpper(name);
        return *facts.resolved;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "IsResolvedPart");
    }
}

std::string CLoomWriter::VendorName(int32_t format) {
    switch (format) {
        case pfHalyard:
        case pfQuern:
        case pfTesselQor:
        case pfTessel32:
        case pfSkein3:
        case pfSkeinPro:
        case pfCobalt:
            return "Corvane";
        case pfSlc500:
        case pfControlLogix:
            return "Rockwell";
        default:
            return "unknown";
    }
}

bool CLoomWriter::HasPickList(const std::string& name) {
    try {
        return !Picklist(name).empty();
    } catch (...) {
        return false;
    }
}

CLoomWriter::PartFacts& CLoomWriter::Facts(const std::string& name) {
    const auto it = facts_.find(name);
    if (it != facts_.end()) return it->second;
    return facts_.emplace(name, PartFacts{}).first->second;
}

bool CLoomWriter::PartExists(const std::string& name) {
    PartFacts& facts = Facts(name);
    if (!facts.exists) facts.exists = partInfo_->PartExists(name, false);
    return *facts.exists;
}

// A failure is remembered as well, so that a name whose list cannot be had
// is not asked for again.
const std::vector<std::string>& CLoomWriter::Picklist(const std::string& name) {
    PartFacts& facts = Facts(name);
    if (!facts.picklist && !facts.picklistError) {
        try {
            facts.picklist = partInfo_->Picklist(name);
        } catch (...) {
            facts.picklistError = std::current_exception();
        }
    }
    if (facts.picklistError) std::rethrow_exception(facts.picklistError);
    return *facts.picklist;
}

}  // namespace vellcfgrdr
