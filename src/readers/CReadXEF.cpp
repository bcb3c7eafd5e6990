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

enum ModuleKind : int32_t { kAuxiliaryRack = 0, kPowerSupply = 1, kModule = 2 };

struct ModuleTag {
    const char* tag;
    ModuleKind kind;
};
constexpr std::array<ModuleTag, 4> kModuleTags = {{
    {"auxiliaryRackATS", kAuxiliaryRack},
    {"powerSupply", kPowerSupply},
    {"moduleATS", kModule},
    {"moduleKestrel", kModule},
}};

std::string ChildAttribute(pugi::xml_node element, const char* child, const char* name) {
    return element.child(child).attribute(name).value();
}

// Cut to what the model keeps before any copy: a part number may be as long
// as the file.
std::string PartNumber(pugi::xml_node element, const CIoConfig& root) {
    return std::string(root.LimitText(element.child("partItem").attribute("partNumber").value()));
}

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

bool IsTrue(const pugi::xml_attribute& a) {
    const std::string_view text = CUtf8::TrimBlanks(a.value());
    if (CUtf8::EqualsNoCase(text, "true")) return true;
    return CStdLib::IsNumeric(text) && CStdLib::Val(text) != 0;
}

// The start of an element's XML text, without writing out the whole subtree.
std::string XmlStart(pugi::xml_node element, size_t chars) {
    struct Capped : pugi::xml_writer {
        std::string out;
        size_t cap;
        void write(const void* data, size_t size) override {
            if (out.size() < cap)
                out.append(static_cast<const char*>(data), std::min(size, cap - out.size()));
        }
    } w;
    w.cap = chars * 4;  // room for the characters in UTF-8
    element.print(w, "", pugi::format_raw);
    return std::string(CUtf8::Left(w.out, chars));
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
    CXMLDocument doc;
    doc.SetKeepWhitespace(false);
    if (!doc.LoadFile(path)) {
        root_->InfoMessage(doc.ParsingError(), eMsgError, kSource);
        ModGSCore::RaiseError(path, ErrNum::kBadFileFormat);
    }
    // The root element decides, not the extension.
    const pugi::xml_node plc = doc.SelectSingleNode(doc.SelectSingleNode("/ZEFExchangeFile")
                                                        ? "/ZEFExchangeFile/IOConf/PLC"
                                                        : "/FEFExchangeFile/IOConf/PLC")
                                   .node();
    if (!plc) ModGSCore::RaiseError(path, kit_->NotOurFormat());
    ScanPlc(plc);
}

std::optional<int32_t> CReadXEF::Position(pugi::xml_node element, int32_t min, int32_t max) {
    const std::string_view text = element.child("equipInfo").attribute("position").value();
    if (text.empty()) return 0;
    const std::optional<int32_t> n = CReaderKit::ToInt(text, min, max);
    if (!n) {
        // A guess (0) would put the element on another one's place.
        kit_->Warn(msgBadModuleNumber, {element.name(), PartNumber(element, *root_), "position",
                                        CReaderKit::Quote(text), min, max});
        kit_->LeftOut();
    }
    return n;
}

void CReadXEF::ScanPlc(pugi::xml_node plc) {
    GetCpuInfo(plc);
    if (root_->PlcFamily() == plcKestrel) {
        ScanBusses(plc.select_node("configKestrel/IOMapBlock").node(), "Kestrel");
    } else {
        const pugi::xml_node block = plc.child("configATS");
        ScanBusses(block, "ATS");
        ScanBusses(block, "Kestrel");
    }
}

void CReadXEF::GetCpuInfo(pugi::xml_node plc) {
    try {
        std::string cpu = PartNumber(plc, *root_);
        int32_t family = CCvtEnum::PlcFamilyFromString(ChildAttribute(plc, "partItem", "family"));
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

void CReadXEF::ScanBusses(pugi::xml_node block, std::string_view flavour) {
    const std::string tag = "bus" + std::string(flavour);
    for (pugi::xml_node bus : block.children(tag.c_str())) {
        const std::optional<int32_t> position = Position(bus);
        if (!position) continue;
        bus_ = *position;
        std::string type(root_->LimitText(bus.attribute("busType").value()));
        if (type.empty()) type = root_->LimitText(bus.attribute("name").value());
        if (type.empty())
            root_->DebugMessage("Could not get Bus Type or Name from: " + XmlStart(bus, 80),
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

void CReadXEF::ScanBus(pugi::xml_node bus) {
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

void CReadXEF::ScanDrops(pugi::xml_node bus, std::string_view flavour) {
    const bool kestrel = flavour == "Kestrel";
    const std::string tag = "drop" + std::string(flavour);
    for (pugi::xml_node drop : bus.children(tag.c_str())) {
        const std::optional<int32_t> position = Position(drop);
        if (!position) continue;
        drop_ = *position;
        rack_ = kestrel ? -1 : 0;
        const std::string part = PartNumber(drop, *root_);
        root_->DebugMessage(CStdLib::Sprintf("    Drop %d.%d = %s", {bus_, drop_, part}), kSource);
        root_->DropList().AddDrop3(bus_, drop_, DropFamilyCode(part), part);
        PlaceModuleLikeChildren(drop);
        ScanRacks(drop, flavour, kestrel ? 0 : 1);
    }
}

void CReadXEF::ScanRacks(pugi::xml_node element, std::string_view flavour, int32_t rackOffset) {
    const std::string tag = "rack" + std::string(flavour);
    int32_t count = 0;
    for ([[maybe_unused]] pugi::xml_node rack : element.children(tag.c_str()))
        ++count;
    if (count == 0) return;
    root_->DebugMessage("    " + std::to_string(count) + " Rack(s)", kSource);
    for (pugi::xml_node rack : element.children(tag.c_str())) {
        const std::string part = PartNumber(rack, *root_);
        const std::optional<int32_t> position = Position(rack, INT16_MIN, INT16_MAX - 1);
        if (!position) continue;
        rack_ = *position + rackOffset;
        root_->RackList().AddRack(bus_, drop_, rack_, part);
        root_->DebugMessage(
            CStdLib::Sprintf("        Rack %d.%d.%d = %s", {bus_, drop_, rack_, part}), kSource);
        PlaceModuleLikeChildren(rack);
    }
}

void CReadXEF::PlaceModuleLikeChildren(pugi::xml_node element) {
    for (const ModuleTag& t : kModuleTags) {
        int32_t count = 0;
        for ([[maybe_unused]] pugi::xml_node item : element.children(t.tag))
            ++count;
        if (count == 0) continue;
        root_->DebugMessage("    " + std::to_string(count) + " " + t.tag + "(s)", kSource);
        for (pugi::xml_node item : element.children(t.tag))
            ScanModuleLikeItem(item, t.kind);
    }
}

void CReadXEF::ScanModuleLikeItem(pugi::xml_node element, int32_t kind) {
    try {
        const std::optional<int32_t> position = Position(element);
        if (!position) return;
        int32_t slot = *position;
        const bool cpu = IsTrue(element.attribute("UCMod"));
        std::string part = PartNumber(element, *root_);
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
        if (kind == kPowerSupply && slot == skX) slot = skPower2;
        if (kind == kModule && slot == skX) slot = skCpu;
        if (kind == kAuxiliaryRack) {
            root_->RackList().RemoveRack(bus_, drop_, rack_);
            root_->RackList().AddRack(bus_, drop_, rack_, kAuxiliaryRackPart);
            return;
        }
        part = WithoutSuffixes(part);
        root_->ModuleList().SetModule(bus_, drop_, rack_, slot, part);
        root_->DebugMessage(CStdLib::Sprintf("            Module %d.%d.%d.%d = %s",
                                             {bus_, drop_, rack_, slot, part}),
                            kSource);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ScanModuleLikeItem");
    }
}

}  // namespace vellcfgrdr
