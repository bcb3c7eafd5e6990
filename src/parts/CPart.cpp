#include "parts/CPart.h"

#include <vector>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

// Fields 0, 1, 2, 3, 6 and 9 must be present; 10 (the French description)
// and the shorter optional ones may be missing at the end of the line.
constexpr size_t kRequiredFields = 10;

enum Column : size_t {
    kFamily = 0,
    kType,
    kGroup,
    kName,
    kModuleId,
    kSlots,
    kPlacement,
    kCapabilities,
    kPicklist,
    kDescriptionEn,
    kDescriptionFr,
};

struct CapabilityWord {
    std::string_view word;
    int32_t bit;
};

constexpr CapabilityWord kCapabilityWords[] = {
    {"HsbCpu", CPart::kHotStandbyCpu},
    {"2PowerSlots", CPart::kTwoPowerSlots},
    {"ChassisWithRack", CPart::kChassisWithRack},
    {"Redundant", CPart::kRedundant},
};

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    fields.reserve(CPart::kFieldCount);
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::string_view FieldOrEmpty(const std::vector<std::string_view>& fields, size_t column) {
    return column < fields.size() ? fields[column] : std::string_view{};
}

}  // namespace

bool CPart::MatchesFamily(int32_t family) const noexcept {
    if (family == plcNone || family == family_) return true;
    switch (family) {
        case plcLark:
        case plcOsprey:
            return family_ == plcRaven;
        case plcRaven:
            return family_ == plcLark || family_ == plcOsprey;
        case plcBriskFinch:
            return family_ == plcHeron;
        case plcHeron:
            return family_ == plcBriskFinch;
        case plcS5Medium:
        case plcS5Large:
            return family_ == plcS5ML;
        default:
            return false;
    }
}

bool CPart::ValidateFieldNames(std::string_view header) {
    return SplitTabs(header).size() == static_cast<size_t>(kFieldCount);
}

void CPart::DeSerialize(int32_t lineNo, std::string_view line) {
    // The step reached, reported as "Erl" when the line is in bad shape.
    int32_t step = 0;
    try {
        step = 1;
        const std::vector<std::string_view> fields = SplitTabs(line);
        if (fields.size() < kRequiredFields)
            ModGSCore::RaiseError(CStdLib::Sprintf("%d fields, at least %d expected",
                                                   {fields.size(), kRequiredFields}),
                                  ErrNum::kInternal);

        step = 2;
        type_ = CCvtEnum::PartTypeFromString(fields[kType]);
        if (type_ == ptUnknown)
            ModGSCore::RaiseError("Invalid part type:" + std::string(fields[kType]),
                                  ErrNum::kInternal);

        step = 3;
        family_ = CCvtEnum::PlcFamilyFromString(fields[kFamily]);
        if (family_ == plcNone)
            ModGSCore::RaiseError("Invalid PlcFamily:" + std::string(fields[kFamily]),
                                  ErrNum::kInternal);

        step = 4;
        group_ = CCvtEnum::PartGroupFromString(fields[kGroup]);
        name_ = fields[kName];
        if (type_ == ptModule && group_ == pgNone)
            ModGSCore::RaiseError(name_ + " not in a group", ErrNum::kInternal);

        step = 5;
        moduleId_ = CStdLib::Atoi(CUtf8::Trim(FieldOrEmpty(fields, kModuleId)));
        slotCount_ = CStdLib::Atoi(CUtf8::Trim(FieldOrEmpty(fields, kSlots)));
        if (slotCount_ == 0) slotCount_ = 1;
        placement_ = CStdLib::Atol(fields[kPlacement]);

        step = 6;
        const std::string_view capabilities = CUtf8::Trim(FieldOrEmpty(fields, kCapabilities));
        capabilities_ = 0;
        for (const CapabilityWord& cw : kCapabilityWords)
            if (CUtf8::FindNoCase(capabilities, cw.word) != CUtf8::npos) capabilities_ += cw.bit;

        step = 7;
        picklist_ = CStdLib::UnQuoteString(CUtf8::Trim(FieldOrEmpty(fields, kPicklist)));
        // A pick list commented out with ";" is no pick list.
        if (picklist_.starts_with(';')) picklist_.clear();

        step = 8;
        descriptionEn_ = CStdLib::UnQuoteString(fields[kDescriptionEn]);
        descriptionFr_ = CStdLib::UnQuoteString(FieldOrEmpty(fields, kDescriptionFr));
    } catch (...) {
        ModGSCore::DebugTrace("Part.DeSerialize Line " + std::to_string(lineNo) +
                              " is in bad shape");
        ModGSCore::DebugTrace(" Line=" + std::string(line));
        try {
            ModGSCore::ReRaise(
                Where::Object("CPart"), "DeSerialize",
                CStdLib::Sprintf(": Line %d >%s< is in bad shape. Erl = %d", {lineNo, line, step}));
        } catch (CVellError& e) {
            e.SetLineNumber(lineNo);
            throw;
        }
    }
}

}  // namespace vellcfgrdr
