#include "core/CCvtEnum.h"

#include <iterator>
#include <limits>

#include "core/CNumText.h"
#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"

namespace vellcfgrdr {

namespace {

// Indexed by value, starting at plcWren.
constexpr const char* kPlcFamilyTexts[] = {
    "Wren",         "SLC500",   "Brisk7",    "Lark",        "GarnetSeries", "Kestrel",
    "BriskFinch",   "PLC5",     "Sorrel",    "Osprey",      "Heron",        "Raven",
    "ControlLogix", "S5-Small", "S5-Medium", "S5-Large",    "S7-300",       "S7-400",
    "S7-Large",     "S5-ML",    "Plover",    "NonSpecific",
};
static_assert(std::size(kPlcFamilyTexts) == plcNonSpecific);

constexpr const char* kPartTypeTexts[] = {
    "Unknown", "Rack", "CPU", "Power", "Module", "QWA", "Cable", "Bundle", "Service", "Other",
};
static_assert(std::size(kPartTypeTexts) == ptOther + 1);

constexpr const char* kPartGroupTexts[] = {
    "",           "A-Line",        "Accessories", "Alliance",      "AnalogIn",   "AnalogMixed",
    "AnalogOut",  "Strand",        "Common",      "Communication", "Counter",    "DIO",
    "DiscreteIn", "DiscreteMixed", "DiscreteOut", "Extension",     "HotStandby", "Main",
    "Memory",     "Motion",        "Other",       "Tessel",        "RIO-Head",   "RIO-Drop",
    "Special",    "Terminal",      "Cobalt",      "Standard",      "Redundant",  "Unsupported",
};
static_assert(std::size(kPartGroupTexts) == pgUnsupported + 1);

constexpr const char* kProjectFormatTexts[] = {
    "Undefined", "Blank",   "Halyard",   "Quern",  "Tessel Qor",   "Tessel 32",
    "SLC 500",   "Skein-3", "Skein Pro", "Cobalt", "ControlLogix",
};
static_assert(std::size(kProjectFormatTexts) == pfControlLogix + 1);

struct DropFamilyName {
    int32_t code;
    const char* name;
};

constexpr DropFamilyName kDropFamilyNames[] = {
    {DropFamily::kDunlin, "Dunlin"},
    {DropFamily::kKestrel, "Kestrel"},
    {DropFamily::kKestrelDio, "Kestrel DIO"},
    {DropFamily::kWrenBrisk, "Wren Brisk"},
    {DropFamily::kPlover, "Plover"},
    {DropFamily::kInterbus, "Interbus"},
    {DropFamily::kSorrel, "Sorrel"},
    {DropFamily::kInterbus2, "Interbus"},
    {DropFamily::kDcp, "DCP"},
    {DropFamily::kIoBus, "IO Bus"},
    {DropFamily::kSlc500, "Rockwell SLC500"},
    {DropFamily::kControlLogix, "Rockwell CtrlLogix"},
    {DropFamily::kBrisk7, "Brisk7"},
    {DropFamily::kHeron, "Heron"},
    {DropFamily::kSarn, "Sarn"},
    {DropFamily::kRaven, "Raven"},
};

}  // namespace

PlcFamily CCvtEnum::PlcFamilyFromString(std::string_view text) {
    for (int32_t v = plcNone; v <= plcUnsupported; ++v)
        if (CUtf8::EqualsNoCase(text, PlcFamilyToString(v))) return static_cast<PlcFamily>(v);
    return plcNone;
}

std::string CCvtEnum::PlcFamilyToString(int32_t family) {
    if (family >= plcWren && family <= plcNonSpecific) return kPlcFamilyTexts[family - plcWren];
    if (family == plcUnsupported) return modResStr::ResString(msgUnsupported);
    return modResStr::ResString(msgInvalidFamily);
}

PartType CCvtEnum::PartTypeFromString(std::string_view text) {
    for (int32_t v = ptUnknown; v <= ptOther; ++v)
        if (CUtf8::EqualsNoCase(text, kPartTypeTexts[v])) return static_cast<PartType>(v);
    return ptUnknown;
}

std::string CCvtEnum::PartTypeToString(int32_t type) {
    if (type < ptUnknown || type > ptOther)
        throw CVellError(ErrNum::kInvalidCall, ModGSCore::StandardErrorText(ErrNum::kInvalidCall),
                         "PartTypeToString: " + std::to_string(type));
    return kPartTypeTexts[type];
}

PartGroup CCvtEnum::PartGroupFromString(std::string_view text) {
    if (text.empty()) return pgNone;
    for (int32_t v = pgNone; v <= pgUnsupported; ++v)
        if (CUtf8::EqualsNoCase(text, kPartGroupTexts[v])) return static_cast<PartGroup>(v);
    return pgNone;
}

std::string CCvtEnum::PartGroupToString(int32_t group) {
    if (group < pgNone || group > pgUnsupported) return "Unknown";
    return kPartGroupTexts[group];
}

SlotKind CCvtEnum::SlotKindFromString(std::string_view text) {
    if (CNumText::IsNumeric(text)) {
        const double v = CNumText::RoundHalfEven(CNumText::Val(text));
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
            ModGSCore::RaiseError("Unexpected SlotKind: " + std::string(text), ErrNum::kOverflow);
        return static_cast<SlotKind>(static_cast<int32_t>(v));
    }
    if (CUtf8::EqualsNoCase(text, "(P)")) return skPower;
    if (CUtf8::EqualsNoCase(text, "(P2)")) return skPower2;
    if (CUtf8::EqualsNoCase(text, "(X)")) return skX;
    ModGSCore::RaiseError("Unexpected SlotKind: " + std::string(text), ErrNum::kInternal);
}

std::string CCvtEnum::SlotKindToString(int32_t slot) {
    switch (slot) {
        case skPower2:
            return "(P2)";
        case skPower:
            return "(P)";
        case skX:
            return "(X)";
        default:
            return std::to_string(slot);
    }
}

std::string CCvtEnum::ProjectFormatToString(int32_t format) {
    if (format < pfUndefined || format > pfControlLogix) return kProjectFormatTexts[pfUndefined];
    return kProjectFormatTexts[format];
}

std::string CCvtEnum::DropFamilyToString(int32_t code) {
    for (const auto& entry : kDropFamilyNames)
        if (entry.code == code) return std::string(entry.name) + " drop";
    return "generic drop";
}

}  // namespace vellcfgrdr
