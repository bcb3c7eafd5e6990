#include "parts/CFamilyInfo.h"

#include <limits>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "parts/CPartNaming.h"
#include "support/CFileSys.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CFamilyInfo";

// Every key the file may hold, lower case, between "|".
constexpr std::string_view kValidFields =
    "|maxdrop|maxrack|maxracklocal|maxrackremote|minslot|haspowerslot|hascpuslot|hastbeslot"
    "|defaultrack|defaultextrack|defaultcpu|defaultpowersupply|defaultredundpower"
    "|defaultbackplnextmod|backplaneextkit|defaultriointerface|slotcover|genericcpus"
    "|cpusubstitutions|hashsbyoption|hotstandbyparts|shortcablelen|lifecycle|defaultriohead"
    "|rackextender|skippartsstartingwith|match|virtualreplace|dropfamilies|needsresolutionlist"
    "|hotstdbycpu|migrack4|migrack6|migrack8|migrack12|migrack16|migrack6red|migrack10red"
    "|migrackswa8|migrackswa12|migrackheron4|migrackheron6|migrackheron8|migrackheron12|";

constexpr int32_t kInt16Min = std::numeric_limits<int16_t>::min();
constexpr int32_t kInt16Max = std::numeric_limits<int16_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

}  // namespace

void CFamilyInfo::Init(const std::string& folder) {
    try {
        const std::string path = CFileSys::PathAppend(folder, kFileName);
        if (!CFileSys::FileExists(path))
            ModGSCore::Assert(false, "not found" + path, Where::Object("CFamilyInfo"), "Create");
        DebugMessage("Read FamilyFile " + path);
        doc_.CreateFromFile(path);
        if (ModGSCore::IsDebugMode()) {
            DebugMessage("Validating " + CFileSys::FileNamePart(path));
            for (const std::string& finding : Validate())
                DebugMessage(finding);
        }
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CFamilyInfo"), "Create");
    }
}

std::vector<std::string> CFamilyInfo::Validate() const {
    std::vector<std::string> findings;
    for (const std::string& section : doc_.EnumSections()) {
        if (CCvtEnum::PlcFamilyFromString(section) == plcNone)
            findings.push_back("Invalid Family " + section);
        for (const auto& pair : doc_.EnumKeysAndValues(section)) {
            const std::string probe = "|" + CUtf8::ToLower(pair.Key) + "|";
            if (kValidFields.find(probe) == std::string_view::npos)
                findings.push_back("Invalid Field " + pair.Key);
        }
    }
    return findings;
}

void CFamilyInfo::DebugMessage(const std::string& text) const {
    if (ModGSCore::IsDebugMode()) EvtInfoMessage.Raise(text, eMsgDebug, kSource);
}

std::string CFamilyInfo::FamilyAttribute(int32_t family, std::string_view key,
                                         std::string_view def) const {
    try {
        std::string value = doc_.GetString(CCvtEnum::PlcFamilyToString(family), key, def);
        const size_t semicolon = value.find(';');
        if (semicolon == std::string::npos) return value;
        value.resize(semicolon);
        for (char& c : value)
            if (c == '\t') c = ' ';
        return std::string(CUtf8::Trim(value));
    } catch (...) {
        return std::string(def);
    }
}

int32_t CFamilyInfo::AttributeInt(int32_t family, std::string_view key, int32_t def, int32_t min,
                                  int32_t max) const {
    if (family == plcRaven) family = plcOsprey;
    const std::string text = FamilyAttribute(family, key, "");
    if (text.empty()) return def;
    try {
        if (!CStdLib::IsNumeric(text))
            throw CVellError(ErrNum::kInternal, "invalid FamilyAttribute", kSource);
        const double value = CStdLib::RoundHalfEven(CStdLib::Val(text));
        if (!(value >= min && value <= max))
            ModGSCore::RaiseError(std::string(key) + "=" + text, ErrNum::kOverflow);
        return static_cast<int32_t>(value);
    } catch (...) {
        EvtReportError.Raise(
            ModGSCore::ErrorText(Where::Object("CFamilyInfo"), "FamilyAttributeInt"));
        return def;
    }
}

std::string CFamilyInfo::CpuSubstitutions(int32_t family) const {
    return FamilyAttribute(family, "CpuSubstitutions", "");
}
std::string CFamilyInfo::DefaultBackplaneExtenderKit(int32_t family) const {
    return FamilyAttribute(family, "BackplaneExtKit", "");
}
std::string CFamilyInfo::DefaultBackplaneExtenderModule(int32_t family) const {
    return FamilyAttribute(family, "DefaultBackplnExtMod", "");
}
std::string CFamilyInfo::DefaultCPU(int32_t family) const {
    return FamilyAttribute(family, "DefaultCPU", "");
}
std::string CFamilyInfo::DefaultPowerSupply(int32_t family) const {
    return FamilyAttribute(family, "DefaultPowersupply", "");
}
std::string CFamilyInfo::DefaultRedundantSupply(int32_t family) const {
    return FamilyAttribute(family, "DefaultRedundPower", "");
}
std::string CFamilyInfo::DefaultRioInterface(int32_t family) const {
    return FamilyAttribute(family, "DefaultRioInterface", "");
}
std::string CFamilyInfo::GenericCPUs(int32_t family) const {
    return FamilyAttribute(family, "GenericCPUs", "");
}
std::string CFamilyInfo::HotStandByParts(int32_t family) const {
    return FamilyAttribute(family, "HotStandByParts", "");
}
std::string CFamilyInfo::SlotCover(int32_t family) const {
    return FamilyAttribute(family, "SlotCover", "");
}

std::string CFamilyInfo::DefaultRack(int32_t family, int16_t rack) const {
    if (family == plcNone) return CPartNaming::Instance()->GenericPart();
    std::string name;
    if (rack >= 2) name = FamilyAttribute(family, "DefaultExtRack", "");
    if (name.empty()) name = FamilyAttribute(family, "DefaultRack", "");
    if (!name.empty()) return name;
    EvtInfoMessage.Raise(CStdLib::Sprintf(modResStr::ResString(msgNoDefaultRack),
                                          {CCvtEnum::PlcFamilyToString(family)}),
                         eMsgWarning, kSource);
    return CPartNaming::Instance()->GenericPart();
}

bool CFamilyInfo::IsRavenFamily(int32_t family) const {
    return family == plcLark || family == plcOsprey || family == plcRaven;
}

bool CFamilyInfo::HasHotStandbyOption(int32_t family) const {
    return AttributeInt(family, "HasHsbyOption", 0, kInt32Min, kInt32Max) != 0;
}
bool CFamilyInfo::HasShortCableLen(int32_t family) const {
    return AttributeInt(family, "ShortCableLen", 0, kInt32Min, kInt32Max) != 0;
}
int32_t CFamilyInfo::Lifecycle(int32_t family) const {
    return AttributeInt(family, "Lifecycle", 0, kInt32Min, kInt32Max);
}
int16_t CFamilyInfo::MaxDropCount(int32_t family) const {
    return static_cast<int16_t>(AttributeInt(family, "MaxDrop", 1, kInt16Min, kInt16Max));
}
int16_t CFamilyInfo::MaxRackCount(int32_t family, int16_t local) const {
    int32_t n = AttributeInt(family, "MaxRack", 0, kInt16Min, kInt16Max);
    if (n == 0)
        n = AttributeInt(family, local == 1 ? "MaxRackLocal" : "MaxRackRemote", 0, kInt16Min,
                         kInt16Max);
    return static_cast<int16_t>(n);
}
int16_t CFamilyInfo::MinSlot(int32_t family) const {
    return static_cast<int16_t>(AttributeInt(family, "MinSlot", 0, kInt16Min, kInt16Max));
}
int32_t CFamilyInfo::RacksHaveCpuCommSlot(int32_t family) const {
    return AttributeInt(family, "HasCpuSlot", 0, kInt32Min, kInt32Max);
}
bool CFamilyInfo::RacksHavePowerSlot(int32_t family) const {
    return AttributeInt(family, "HasPowerSlot", 0, kInt32Min, kInt32Max) != 0;
}

void CFamilyInfo::OverWrite(int32_t family, std::string_view key, std::string_view value) {
    doc_.PutString(CCvtEnum::PlcFamilyToString(family), key, value);
}

}  // namespace vellcfgrdr
