#include "readers/CReadXEF.h"

#include <array>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "output/CXMLDocument.h"
#include "readers/CXmlStream.h"
#include "readers/CZip.h"
#include "support/CFileSys.h"
#include "support/CStdLib.h"
#include "support/CWorkFolder.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadXEF";
const Where kWhere = Where::Object("CReadXEF");

// The one entry of a zipped export that holds the exchange file.
constexpr std::string_view kExchangeEntry = "cobaltpro.xef";

// The maker's 16-slot rack that an auxiliary rack element stands for.
constexpr std::string_view kAuxiliaryRackPart = "318RCK1601";

constexpr std::array<std::string_view, 8> kSupportedBusTypes = {
    "Local Kestrel Bus", "TbusFinch",        "RIO bus",   "Tbus",
    "TbusOsprey",        "TbusOspreySafety", "BusRIODIO", "ERIO bus",
};

// The elements the walk visits.
enum Tag : uint8_t {
    kPlc,
    kConfigKestrel,
    kConfigAts,
    kIoMapBlock,
    kBusKestrel,
    kBusAts,
    kDropKestrel,
    kDropAts,
    kRackKestrel,
    kRackAts,
    kAuxiliaryRackAts,
    kPowerSupply,
    kModuleAts,
    kModuleKestrel,
    kOther
};
constexpr std::array<std::string_view, kOther> kTags = {
    "PLC",         "configKestrel", "configATS",   "IOMapBlock", "busKestrel",       "busATS",
    "dropKestrel", "dropATS",       "rackKestrel", "rackATS",    "auxiliaryRackATS", "powerSupply",
    "moduleATS",   "moduleKestrel",
};

uint8_t TagOf(std::string_view name) {
    for (uint8_t t = 0; t < kOther; ++t)
        if (kTags[t] == name) return t;
    return kOther;
}

bool IsBus(uint8_t tag) {
    return tag == kBusKestrel || tag == kBusAts;
}

// Whether the walk looks for elements of the tag `child` in one of the tag
// `parent`: only those are kept, so the elements kept are never nested
// deeper than a module in a rack of a drop.
bool Visited(uint8_t parent, uint8_t child) {
    const bool moduleLike = child >= kAuxiliaryRackAts && child <= kModuleKestrel;
    const bool rack = child == kRackKestrel || child == kRackAts;
    const bool drop = child == kDropKestrel || child == kDropAts;
    switch (parent) {
        case kPlc:
            return child == kConfigKestrel || child == kConfigAts;
        case kConfigKestrel:
            return child == kIoMapBlock;
        case kIoMapBlock:
        case kConfigAts:
            return IsBus(child);
        case kBusKestrel:
        case kBusAts:
            return drop || rack || moduleLike;
        case kDropKestrel:
        case kDropAts:
            return rack || moduleLike;
        case kRackKestrel:
        case kRackAts:
            return moduleLike;
        default:
            return false;
    }
}

enum ModuleKind : int32_t { kAsAuxiliaryRack = 0, kAsPowerSupply = 1, kAsModule = 2 };

struct ModuleTag {
    Tag tag;
    ModuleKind kind;
};
constexpr std::array<ModuleTag, 4> kModuleTags = {{
    {kAuxiliaryRackAts, kAsAuxiliaryRack},
    {kPowerSupply, kAsPowerSupply},
    {kModuleAts, kAsModule},
    {kModuleKestrel, kAsModule},
}};

int32_t DropFamilyCode(const std::string& part) {
    if (part == "MDI_I/O-Bus_drop") return DropFamily::kInterbus2;
    if (part == "OspreyDropforEthernet" || part == "FinchBasicDrop_Q2forEthernet" ||
        part == "FinchBasicDropforEthernet")
        return DropFamily::kRaven;
    if (part == "KestrelDropforDIO") return DropFamily::kKestrelDio;
    if (part.find("GarnetIODrop") != std::string::npos) return DropFamily::kDunlin;
    if (part.find("KestrelDrop") != std::string::npos ||
        part.find("KestrelQSADrop") != std::string::npos)
        return DropFamily::kKestrel;
    if (part.find("SorrelDrop") != std::string::npos) return DropFamily::kSorrel;
    return -1;
}

// The part without its last dot suffix and, when one more remains, without
// that one too.
std::string WithoutSuffixes(const std::string& part) {
    std::string base = part;
    for (int i = 0; i < 2; ++i) {
        const size_t dot = base.rfind('.');
        if (dot == std::string::npos) break;
        base.erase(dot);
    }
    return base;
}

bool IsTrue(std::string_view value) {
    const std::string_view text = CUtf8::TrimBlanks(value);
    if (CUtf8::EqualsNoCase(text, "true")) return true;
    return CStdLib::IsNumeric(text) && CStdLib::Val(text) != 0;
}

}  // namespace

const ReaderDescription& CReadXEF::Description() {
    static const ReaderDescription d{
        pfCobalt, "cobalt", "Cobalt exchange file, plain or zipped", "Corvane", {"xef", "zef"}};
    return d;
}

int32_t CReadXEF::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    CReaderKit kit(root, kSource);
    kit_ = &kit;
    try {
        const std::string& path = root.ProjectFileName();
        if (CUtf8::EqualsNoCase(CFileSys::FileExtension(path, false), "zef")) {
            // A folder of this call alone, removed on every way out.
            CWorkFolder work("ReadXEF");
            ReadDocument(Unpack(path, work.Path()));
        } else {
            ReadDocument(path);
        }
        return kit.Status(ErrNum::kOk);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "GetIoConfig");
    }
}

std::string CReadXEF::Unpack(const std::string& archive, const std::string& folder) {
    // Only the exchange file is written out; the other entries are never needed.
    std::string xef;
    try {
        xef = CZip::ExtractEntry(archive, kExchangeEntry, folder);
    } catch (...) {
        // The reason alone, without the standard text of the number.
        const CVellError e = ModGSCore::CurrentError();
        std::string reason = e.Description();
        const std::string standard = std::string(ModGSCore::StandardErrorText(e.Number())) + " - ";
        if (reason.starts_with(standard)) reason.erase(0, standard.size());
        root_->InfoMessage(
            CStdLib::Sprintf(modResStr::ResString(msgArchiveUnreadable), {archive, reason}),
            eMsgError, kSource);
        throw;
    }
    if (xef.empty()) {
        root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgArchiveEntryMissing),
                                            {archive, std::string(kExchangeEntry)}),
                           eMsgError, kSource);
        ModGSCore::RaiseError(archive, ErrNum::kBadFileFormat);
    }
    return xef;
}

void CReadXEF::ReadDocument(const std::string& path) {
    Element plc;
    bool found = false;
    if (!StreamPlc(path, plc, found)) {
        plc = Element();
        plcFamily_.clear();
        found = ParsePlc(path, plc);
    }
    if (!found) ModGSCore::RaiseError(path, kit_->NotOurFormat());
    ScanPlc(plc);
}

template <class Attributes>
CReadXEF::Element* CReadXEF::Fill(Element& parent, std::string_view name,
                                  const Attributes& attribute) {
    const auto value = [&](const char* n) { return attribute(n).value_or(std::string_view()); };
    if (name == "partItem") {
        if (!parent.hasPartItem) {
            parent.hasPartItem = true;
            parent.partNumber = Limited(value("partNumber"));
            if (parent.tag == kPlc) plcFamily_ = value("family");
        }
        return nullptr;
    }
    if (name == "equipInfo") {
        if (!parent.hasEquipInfo) {
            parent.hasEquipInfo = true;
            parent.position = value("position");
        }
        return nullptr;
    }
    const uint8_t tag = TagOf(name);
    if (!Visited(parent.tag, tag)) return nullptr;
    Element& child = parent.children.emplace_back();
    child.tag = tag;
    child.ucMod = IsTrue(value("UCMod"));
    if (IsBus(tag)) {
        child.bus = std::make_unique<std::pair<Text, Text>>();
        child.bus->first = Limited(value("busType"));
        child.bus->second = Limited(value("name"));
    }
    return &child;
}

bool CReadXEF::StreamPlc(const std::string& path, Element& plc, bool& found) {
    // The root element decides, not the extension; the first PLC of its
    // IOConf is read, the rest of the document only checked.
    struct Walk final : CXmlStream::IHandler {
        CReadXEF& reader;
        Element& plc;
        bool& found;
        std::vector<Element*> open;  // the PLC and the elements kept inside it that hold this one

        Walk(CReadXEF& r, Element& p, bool& f) : reader(r), plc(p), found(f) {}

        Action Start(int depth, std::string_view name, const CXmlStream::Attributes& a) override {
            if (depth == 0)
                return name == "ZEFExchangeFile" || name == "FEFExchangeFile" ? Action::kEnter
                                                                              : Action::kSkip;
            if (depth == 1) return name == "IOConf" ? Action::kEnter : Action::kSkip;
            if (depth == 2) {
                if (found || name != "PLC") return Action::kSkip;
                found = true;
                plc.tag = kPlc;
                open.assign(1, &plc);
                return Action::kEnter;
            }
            // Only the PLC and the elements kept inside it are entered.
            open.resize(static_cast<size_t>(depth - 2));
            const auto attribute = [&a](const char* n) { return a.Get(n); };
            Element* child = reader.Fill(*open.back(), name, attribute);
            if (!child) return Action::kSkip;
            open.push_back(child);
            return Action::kEnter;
        }

        void Copied(pugi::xml_node) override {}
    } walk(*this, plc, found);

    CXmlStream xml(path);
    return xml.Read(walk);
}

bool CReadXEF::ParsePlc(const std::string& path, Element& plc) {
    CXMLDocument doc;
    doc.SetKeepWhitespace(false);
    if (!doc.LoadFile(path)) {
        root_->InfoMessage(doc.ParsingError(), eMsgError, kSource);
        ModGSCore::RaiseError(path, ErrNum::kBadFileFormat);
    }
    const pugi::xml_node node = doc.SelectSingleNode(doc.SelectSingleNode("/ZEFExchangeFile")
                                                         ? "/ZEFExchangeFile/IOConf/PLC"
                                                         : "/FEFExchangeFile/IOConf/PLC")
                                    .node();
    if (!node) return false;
    plc.tag = kPlc;
    Take(node, plc);
    return true;
}

void CReadXEF::Take(pugi::xml_node from, Element& to) {
    for (const pugi::xml_node child : from.children()) {
        if (child.type() != pugi::node_element) continue;
        const auto attribute = [&child](const char* name) -> std::optional<std::string_view> {
            const pugi::xml_attribute a = child.attribute(name);
            if (!a) return std::nullopt;
            return a.value();
        };
        if (Element* kept = Fill(to, child.name(), attribute)) Take(child, *kept);
    }
}

CReadXEF::Text CReadXEF::Limited(std::string_view text) const {
    Text t;
    t.kept = root_->LimitText(text, t.cutWarning);
    return t;
}

std::string CReadXEF::Use(const Text& text) const {
    // Warned of each time the text is used, as it would be if it were cut
    // then.
    if (!text.cutWarning.empty()) root_->InfoMessage(text.cutWarning, eMsgWarning, "");
    return text.kept;
}

std::optional<int32_t> CReadXEF::Position(const Element& element, int32_t min, int32_t max) {
    const std::string_view text = element.position;
    if (text.empty()) return 0;
    const std::optional<int32_t> n = CReaderKit::ToInt(text, min, max);
    if (!n) {
        // A guess (0) would put the element on another one's place.
        kit_->Warn(msgBadModuleNumber, {std::string(kTags[element.tag]), Use(element.partNumber),
                                        "position", CReaderKit::Quote(text), min, max});
        kit_->LeftOut();
    }
    return n;
}

void CReadXEF::ScanPlc(const Element& plc) {
    GetCpuInfo(plc);
    if (root_->PlcFamily() == plcKestrel) {
        // The first IOMapBlock of any configKestrel.
        const Element* block = nullptr;
        for (const Element& config : plc.children)
            for (const Element& b : config.children)
                if (!block && config.tag == kConfigKestrel && b.tag == kIoMapBlock) block = &b;
        ScanBusses(block, "Kestrel");
    } else {
        const Element* block = nullptr;
        for (const Element& config : plc.children)
            if (!block && config.tag == kConfigAts) block = &config;
        ScanBusses(block, "ATS");
        ScanBusses(block, "Kestrel");
    }
}

void CReadXEF::GetCpuInfo(const Element& plc) {
    try {
        std::string cpu = Use(plc.partNumber);
        int32_t family = CCvtEnum::PlcFamilyFromString(plcFamily_);
        if (family == plcNone) {
            family = root_->RequirePartInfo().GuessCpuFamily(cpu);
            root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgFamilyNotFoundAssumed),
                                                {CCvtEnum::PlcFamilyToString(family)}),
                               eMsgWarning, kSource);
        }
        bool found = false;
        cpu = root_->RequirePartMapping().MappCPU(cpu, found, family);
        if (family == plcNone) throw CVellError(ErrNum::kUnknownFormat, "");
        root_->SetPlcFamily(family);
        root_->SetPlcName(cpu);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "GetCpuInfo");
    }
}

void CReadXEF::ScanBusses(const Element* block, std::string_view flavour) {
    if (!block) return;
    const uint8_t tag = TagOf("bus" + std::string(flavour));
    for (const Element& bus : block->children) {
        if (bus.tag != tag) continue;
        const std::optional<int32_t> position = Position(bus);
        if (!position) continue;
        bus_ = *position;
        std::string type = Use(bus.bus->first);
        if (type.empty()) type = Use(bus.bus->second);
        if (type.empty())
            root_->DebugMessage("Could not get Bus Type or Name from the " +
                                    std::string(kTags[tag]) + " at position " +
                                    std::to_string(bus_),
                                kSource);
        root_->DebugMessage(CStdLib::Sprintf("Bus %d = %s", {bus_, type}), kSource);
        root_->BusList().AddBus(bus_, type);
        bool supported = false;
        for (std::string_view t : kSupportedBusTypes)
            supported = supported || t == type;
        if (supported)
            ScanBus(bus);
        else
            root_->InfoMessage(type + " " + modResStr::ResString(msgUnsupported), eMsgWarning,
                               "ScanBusses");
    }
}

void CReadXEF::ScanBus(const Element& bus) {
    drop_ = 0;
    // Modules directly below a bus go to rack 0, not to whatever rack the
    // previous bus ended with.
    rack_ = 0;
    PlaceModuleLikeChildren(bus);
    ScanRacks(bus, "Kestrel", 0);
    ScanRacks(bus, "ATS", 1);
    ScanDrops(bus, "Kestrel");
    ScanDrops(bus, "ATS");
}

void CReadXEF::ScanDrops(const Element& bus, std::string_view flavour) {
    const bool kestrel = flavour == "Kestrel";
    const uint8_t tag = TagOf("drop" + std::string(flavour));
    for (const Element& drop : bus.children) {
        if (drop.tag != tag) continue;
        const std::optional<int32_t> position = Position(drop);
        if (!position) continue;
        drop_ = *position;
        rack_ = kestrel ? -1 : 0;
        const std::string part = Use(drop.partNumber);
        root_->DebugMessage(CStdLib::Sprintf("    Drop %d.%d = %s", {bus_, drop_, part}), kSource);
        root_->DropList().AddDrop3(bus_, drop_, DropFamilyCode(part), part);
        PlaceModuleLikeChildren(drop);
        ScanRacks(drop, flavour, kestrel ? 0 : 1);
    }
}

void CReadXEF::ScanRacks(const Element& element, std::string_view flavour, int32_t rackOffset) {
    const uint8_t tag = TagOf("rack" + std::string(flavour));
    int32_t count = 0;
    for (const Element& rack : element.children)
        count += rack.tag == tag ? 1 : 0;
    if (count == 0) return;
    root_->DebugMessage("    " + std::to_string(count) + " Rack(s)", kSource);
    for (const Element& rack : element.children) {
        if (rack.tag != tag) continue;
        const std::string part = Use(rack.partNumber);
        const std::optional<int32_t> position = Position(rack, INT16_MIN, INT16_MAX - 1);
        if (!position) continue;
        rack_ = *position + rackOffset;
        root_->RackList().AddRack(bus_, drop_, rack_, part);
        root_->DebugMessage(
            CStdLib::Sprintf("        Rack %d.%d.%d = %s", {bus_, drop_, rack_, part}), kSource);
        PlaceModuleLikeChildren(rack);
    }
}

void CReadXEF::PlaceModuleLikeChildren(const Element& element) {
    for (const ModuleTag& t : kModuleTags) {
        int32_t count = 0;
        for (const Element& item : element.children)
            count += item.tag == t.tag ? 1 : 0;
        if (count == 0) continue;
        root_->DebugMessage(
            "    " + std::to_string(count) + " " + std::string(kTags[t.tag]) + "(s)", kSource);
        for (const Element& item : element.children)
            if (item.tag == t.tag) ScanModuleLikeItem(item, t.kind);
    }
}

void CReadXEF::ScanModuleLikeItem(const Element& element, int32_t kind) {
    try {
        const std::optional<int32_t> position = Position(element);
        if (!position) return;
        int32_t slot = *position;
        const bool cpu = element.ucMod;
        std::string part = Use(element.partNumber);
        const std::string base = WithoutSuffixes(part);
        if (base != part) {
            root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgPartMatched), {part, base}),
                               eMsgWarning, kSource);
            part = base;
        }
        const IPartMapping& mapping = root_->RequirePartMapping();
        if (cpu) {
            bool found = false;
            part = mapping.MappCPU(part, found, matchingFamily_);
        } else {
            part = mapping.MatchModuleName(part, matchingFamily_);
        }
        if (kind == kAsPowerSupply && slot == skX) slot = skPower2;
        if (kind == kAsModule && slot == skX) slot = skCpu;
        if (kind == kAsAuxiliaryRack) {
            root_->RackList().RemoveRack(bus_, drop_, rack_);
            root_->RackList().AddRack(bus_, drop_, rack_, kAuxiliaryRackPart);
            return;
        }
        part = WithoutSuffixes(part);
        if (part.empty()) {
            // Placing no name would clear the position; a guess would be a
            // part nobody named.
            kit_->Warn(msgModuleWithoutPart, {std::string(kTags[element.tag]), drop_, rack_,
                                              CCvtEnum::SlotKindToString(slot)});
            kit_->LeftOut();
            return;
        }
        root_->ModuleList().SetModule(bus_, drop_, rack_, slot, part);
        root_->DebugMessage(CStdLib::Sprintf("            Module %d.%d.%d.%d = %s",
                                             {bus_, drop_, rack_, slot, part}),
                            kSource);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ScanModuleLikeItem");
    }
}

}  // namespace vellcfgrdr
