#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/CCvtEnum.h"
#include "core/ErrNum.h"

using namespace vellcfgrdr;
using test::CatchError;

// Texts read from support and project files: whole names in any case, and
// nothing else.
TEST(CCvtEnum, NamesReadBackIgnoringCaseAndFallBackToNone) {
    for (int32_t v = plcWren; v <= plcUnsupported; ++v)
        EXPECT_EQ(CCvtEnum::PlcFamilyFromString(CCvtEnum::PlcFamilyToString(v)), v) << v;
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("kESTREL"), plcKestrel);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString("SLC 500"), plcNone);
    EXPECT_EQ(CCvtEnum::PlcFamilyFromString(" Wren"), plcNone);
    EXPECT_EQ(CCvtEnum::PartTypeFromString("power"), ptPower);
    EXPECT_EQ(CCvtEnum::PartTypeFromString("Processor"), ptUnknown);
    for (int32_t v = pgALine; v <= pgUnsupported; ++v)
        EXPECT_EQ(CCvtEnum::PartGroupFromString(CCvtEnum::PartGroupToString(v)), v) << v;
    // An empty text is no group, and "Unknown" is only ever an output.
    EXPECT_EQ(CCvtEnum::PartGroupToString(pgNone), "");
    EXPECT_EQ(CCvtEnum::PartGroupToString(-1), "Unknown");
    EXPECT_EQ(CCvtEnum::PartGroupFromString("Unknown"), pgNone);
    EXPECT_EQ(CCvtEnum::PartGroupFromString("dio"), pgDio);
}

// A value outside the table is refused, never read past its end.
TEST(CCvtEnum, PartTypeToStringRejectsValuesOutsideTheTable) {
    for (int32_t v : {10, -1})
        EXPECT_EQ(CatchError([v] { CCvtEnum::PartTypeToString(v); }).Number(),
                  ErrNum::kInvalidCall);
}

TEST(CCvtEnum, SlotKindFromNumbersAndNames) {
    const std::pair<const char*, int32_t> cases[] = {
        {"3", 3},           {"2.5", 2} /* halves to even */,
        {" 3.5 ", 4},       {"-4", skPower2},
        {"(p2)", skPower2}, {"(P)", skPower},
        {"(x)", skX},       {"1e1", 10},
        {"&H10", 16},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(CCvtEnum::SlotKindFromString(text), kind) << text;
    for (int32_t v = -4; v <= 17; ++v)
        EXPECT_EQ(CCvtEnum::SlotKindFromString(CCvtEnum::SlotKindToString(v)), v) << v;
    EXPECT_EQ(CCvtEnum::SlotKindToString(-5), "-5");

    for (const char* text : {"Z", "", "3a", "(P3)", "1.2.3", "-"}) {
        const CVellError e = CatchError([text] { CCvtEnum::SlotKindFromString(text); });
        EXPECT_EQ(e.Number(), ErrNum::kInternal) << text;
        EXPECT_EQ(e.Description(), std::string("Internal error - Unexpected SlotKind: ") + text);
    }
    EXPECT_EQ(CatchError([] { CCvtEnum::SlotKindFromString("99999999999"); }).Number(),
              ErrNum::kOverflow);
}
