#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/CCvtEnum.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

using namespace vellcfgrdr;
using test::CatchError;

TEST(CCvtEnum, PlcFamilyTextsAndResourceFallbacks) {
    EXPECT_EQ(CCvtEnum::PlcFamilyToString(plcUnsupported), "unsupported");
    for (int32_t v : {0, 24, -1, 1000})
        EXPECT_EQ(CCvtEnum::PlcFamilyToString(v), "Invalid or unsupported PLC family") << v;
}

TEST(CCvtEnum, PlcFamilyFromStringIgnoresCaseAndFallsBackToNone) {
    for (int32_t v = plcWren; v <= plcUnsupported; ++v)
        EXPECT_EQ(CCvtEnum::PlcFamilyFromString(CCvtEnum::PlcFamilyToString(v)), v) << v;
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("kESTREL"), plcKestrel);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("SLC500"), plcSlc500);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("SLC 500"), plcNone);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("UNSUPPORTED"), plcUnsupported);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString(" Wren"), plcNone);
}

TEST(CCvtEnum, PartTypeBothWays) {
    for (int32_t v = ptUnknown; v <= ptOther; ++v)
        EXPECT_EQ(CCvtEnum::PartTypeFromString(CCvtEnum::PartTypeToString(v)), v) << v;
    EXPECT_EQ(CCvtEnum::PartTypeToString(ptCpu), "CPU");
    EXPECT_EQ(CCvtEnum::PartTypeFromString("power"), ptPower);
    EXPECT_EQ(CCvtEnum::PartTypeFromString("Processor"), ptUnknown);
}

TEST(CCvtEnum, PartTypeToStringRejectsValuesOutsideTheTable) {
    for (int32_t v : {10, -1}) {
        const CVellError e = CatchError([v] { CCvtEnum::PartTypeToString(v); });
        EXPECT_EQ(e.Number(), ErrNum::kInvalidCall);
        EXPECT_EQ(e.Description(), ModGSCore::StandardErrorText(ErrNum::kInvalidCall));
        EXPECT_EQ(e.Source(), "PartTypeToString: " + std::to_string(v));
    }
}

TEST(CCvtEnum, PartGroupEmptyTextIsNoGroupAndUnknownIsOnlyAnOutput) {
    for (int32_t v = pgALine; v <= pgUnsupported; ++v)
        EXPECT_EQ(CCvtEnum::PartGroupFromString(CCvtEnum::PartGroupToString(v)), v) << v;
    EXPECT_EQ(CCvtEnum::PartGroupToString(pgNone), "");
    EXPECT_EQ(CCvtEnum::PartGroupToString(30), "Unknown");
    EXPECT_EQ(CCvtEnum::PartGroupToString(-1), "Unknown");
    EXPECT_EQ(CCvtEnum::PartGroupFromString("Unknown"), pgNone);
    EXPECT_EQ(CCvtEnum::PartGroupFromString(""), pgNone);
    EXPECT_EQ(CCvtEnum::PartGroupFromString("dio"), pgDio);
}

TEST(CCvtEnum, SlotKindFromNumbersAndNames) {
    EXPECT_EQ(CCvtEnum::SlotKindFromString("3"), 3);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("2.5"), 2);  // halves to even
    EXPECT_EQ(CCvtEnum::SlotKindFromString(" 3.5 "), 4);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("-4"), skPower2);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("(p2)"), skPower2);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("(P)"), skPower);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("(x)"), skX);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("1e1"), 10);
    EXPECT_EQ(CCvtEnum::SlotKindFromString("&H10"), 16);
    for (int32_t v = -4; v <= 17; ++v)
        EXPECT_EQ(CCvtEnum::SlotKindFromString(CCvtEnum::SlotKindToString(v)), v) << v;
}

TEST(CCvtEnum, SlotKindFromStringRejectsOtherTexts) {
    for (const char* text : {"Z", "", "3a", "(P3)", "1.2.3", "-"}) {
        const CVellError e = CatchError([text] { CCvtEnum::SlotKindFromString(text); });
        EXPECT_EQ(e.Number(), ErrNum::kInternal) << text;
        EXPECT_EQ(e.Description(), std::string("Internal error - Unexpected SlotKind: ") + text);
    }
    EXPECT_EQ(CatchError([] { CCvtEnum::SlotKindFromString("99999999999"); }).Number(),
              ErrNum::kOverflow);
}

TEST(CCvtEnum, SlotKindToStringNamesOnlyThePowerPositions) {
    EXPECT_EQ(CCvtEnum::SlotKindToString(skPower2), "(P2)");
    EXPECT_EQ(CCvtEnum::SlotKindToString(skCpu), "-2");
    EXPECT_EQ(CCvtEnum::SlotKindToString(-5), "-5");
    EXPECT_EQ(CCvtEnum::SlotKindToString(7), "7");
}

TEST(CCvtEnum, ProjectFormatAndDropFamilyTexts) {
    EXPECT_EQ(CCvtEnum::ProjectFormatToString(11), "Undefined");
    EXPECT_EQ(CCvtEnum::ProjectFormatToString(pfTesselQor), "Tessel Qor");

    EXPECT_EQ(CCvtEnum::DropFamilyToString(DropFamily::kKestrel), "Kestrel drop");
    EXPECT_EQ(CCvtEnum::DropFamilyToString(5), "Interbus drop");
    EXPECT_EQ(CCvtEnum::DropFamilyToString(20), "Interbus drop");
    EXPECT_EQ(CCvtEnum::DropFamilyToString(256), "Raven drop");
    EXPECT_EQ(CCvtEnum::DropFamilyToString(69), "generic drop");
    EXPECT_EQ(CCvtEnum::DropFamilyToString(-1), "generic drop");
}
