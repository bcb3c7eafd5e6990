#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "core/ModGSCore.h"
#include "parts/CFamilyInfo.h"
#include "parts/CPartInfo.h"
#include "parts/CPartMapping.h"

using namespace vellcfgrdr;
using vellcfgrdr::test::ExpectEach;
using vellcfgrdr::test::TempDir;

namespace {

const std::vector<std::string> kParts = {
    "Kestrel|Module|DiscreteIn|318DIN1624|1|1|0|||Inputs|",
    "Kestrel|Module|DiscreteIn|AB-12|2|1|0|||Written with a dash|",
    "Kestrel|Module|AnalogIn|318AIN0820|3|1|0|||Analog in|",
    "Kestrel|Power|Standard|318PSU0524D|40|1|0|||Supply DC|",
    "Kestrel|Power|Standard|318PSU0524A|41|1|0|||Supply AC|",
    "Heron|CPU|Standard|BRISK57-1101|0|1|0|||CPU|",
    "Heron|CPU|Standard|BRISK57-1102|0|1|0|||CPU|",
    "Heron|CPU|Standard|BRISKP57-3451|0|1|0|||CPU|",
    "Heron|Power|Standard|HRNPSU0524D|0|1|0|||Supply|",
    "BriskFinch|CPU|Standard|BRISK37-1101|0|1|0|||CPU|",
    "Plover|Module|DiscreteIn|07VDIN1624|5|1|0|||Inputs|",
};

const char* const kMapping =
    "' Legacy names and their replacements\r\n"
    "\r\n"
    "   ' an indented comment\r\n"
    "318DIN16\t318DIN1624\r\n"
    "OLDMOD   NEWUNKNOWN further text\r\n"
    "olddup\t318DIN1624\r\n"
    "OLDDUP\t318AIN0820\r\n"
    "LONELY\r\n"
    "\t SPACED \t 318AIN0820 \r\n";

const char* const kFamilies =
    "[Kestrel]\r\nDefaultPowerSupply=318PSU0524D\r\n"
    "[Heron]\r\nDefaultPowerSupply=HRNPSU0524D\r\n"
    "[Lark]\r\nMinSlot=0\r\n";

class CPartMappingTest : public ::testing::Test {
  protected:
    CPartMappingTest() {
        dir_.Write(CPartInfo::kPartFileName, test::PartFile(kParts));
        dir_.Write(CPartInfo::kSupplementFileName, "");
        dir_.Write(CFamilyInfo::kFileName, kFamilies);
        partInfo_->Init(dir_.Str());
        familyInfo_->Init(dir_.Str());
        test::RecordMessages(mapping_, messages_);
    }
    void Load(const std::string& mappingText) {
        dir_.Write(CPartMapping::kFileName, mappingText);
        mapping_.Init(dir_.Str(), partInfo_, familyInfo_);
    }

    TempDir dir_;
    std::shared_ptr<CPartInfo> partInfo_ = std::make_shared<CPartInfo>();
    std::shared_ptr<CFamilyInfo> familyInfo_ = std::make_shared<CFamilyInfo>();
    CPartMapping mapping_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(CPartMappingTest, TranslationTableFromFile) {
    Load(kMapping);
    EXPECT_EQ(mapping_.LegacyNames(),
              (std::vector<std::string>{"318DIN16", "OLDMOD", "olddup", "LONELY", "SPACED"}));
    const auto ref = [this](auto name) { return mapping_.ToPartRef(name); };
    // clang-format off
    ExpectEach(ref, {
        // The compressed form is looked up; keys ignore case; the first pair
        // of a key stays in force.
        {"318DIN16", "318DIN1624"}, {"318 DIN-16", "318DIN1624"}, {"OldDup", "318DIN1624"},
        {"LONELY", ""}, {"spaced", "318AIN0820"},
        // A replacement is returned even when no part has its name.
        {"OLDMOD", "NEWUNKNOWN"},
        // Neither known nor translated: compressed.
        {"XY 9-9", "XY99"},
        // The Plover short prefix: only its first character changes, and
        // only when written in upper case.
        {"97VDIN1624", "07VDIN1624"}, {"97V DIN-99", "07VDIN99"}, {"97vDIN1624", "97vDIN1624"},
        // Known with a dash as written (letter case aside): unchanged; known
        // only by the compressed form: the compressed form, not the table's.
        {"AB-12", "AB-12"}, {"ab-12", "ab-12"}, {"AB12", "AB12"}, {"A B-1 2", "AB12"}});
    // clang-format on
    EXPECT_EQ(mapping_.MatchModuleName("AB12", plcKestrel), "AB12");
    EXPECT_EQ(mapping_.MatchModuleName("AB-12", plcKestrel), "AB-12");
}

TEST_F(CPartMappingTest, MatchModuleName) {
    Load(kMapping);
    EXPECT_EQ(mapping_.MatchModuleName("318 DIN1624", plcKestrel), "318DIN1624");
    // Untranslated: the first module of the family containing the name.
    EXPECT_EQ(mapping_.MatchModuleName("AIN08", plcKestrel), "318AIN0820");
    EXPECT_EQ(mapping_.MatchModuleName("DIN16", plcPlover), "07VDIN1624");
    // Neither other families' modules nor power supplies.
    EXPECT_EQ(mapping_.MatchModuleName("AIN 08", plcHeron), "AIN08");
    EXPECT_EQ(mapping_.MatchModuleName("PSU05", plcKestrel), "PSU05");
    // Translated, or changed by a dash: no search.
    EXPECT_EQ(mapping_.MatchModuleName("318 DIN16", plcKestrel), "318DIN1624");
    EXPECT_EQ(mapping_.MatchModuleName("DIN-16", plcKestrel), "DIN16");
    // An empty replacement falls back to the name without blanks.
    EXPECT_EQ(mapping_.MatchModuleName("LONELY", plcKestrel), "LONELY");
    // No name matches no module (not every one).
    EXPECT_EQ(mapping_.MatchModuleName(" ", plcKestrel), "");
}

TEST_F(CPartMappingTest, MatchPower) {
    Load(kMapping);
    EXPECT_EQ(mapping_.MatchPower("318 PSU0524A", plcKestrel), "318PSU0524A");
    // The first supply of the family, in file order, starting with the name.
    EXPECT_EQ(mapping_.MatchPower("318PSU05", plcKestrel), "318PSU0524D");
    EXPECT_EQ(mapping_.MatchPower("318PSU0524", plcNone), "318PSU0524D");
    // Otherwise the family's default supply.
    EXPECT_EQ(mapping_.MatchPower("PS 1", plcHeron), "HRNPSU0524D");
    EXPECT_EQ(mapping_.MatchPower("PS 1", plcLark), "");
    // Family 0 has no default: the name as given, blanks included.
    EXPECT_EQ(mapping_.MatchPower(" PS 1", plcNone), " PS 1");
    // No name is the default, not the first supply.
    EXPECT_EQ(mapping_.MatchPower("", plcHeron), "HRNPSU0524D");
    EXPECT_EQ(mapping_.MatchPower("", plcNone), "");
}

TEST_F(CPartMappingTest, MappCpuAndTheBriskSearch) {
    Load(kMapping);
    bool found = false;
    EXPECT_EQ(mapping_.MappCPU("Brisk57 -1101", found, plcKestrel), "Brisk57-1101");
    EXPECT_TRUE(found);

    // One or two characters missing: the first candidate in file order, in
    // the catalogue's spelling.
    EXPECT_EQ(mapping_.MappCPU("Brisk57-110", found, plcHeron), "BRISK57-1101");
    EXPECT_FALSE(found);
    EXPECT_EQ(mapping_.MappCPU("Brisk57-11", found, plcHeron), "BRISK57-1101");
    // Older 57 names lack the "P" of the current line.
    EXPECT_EQ(mapping_.MappCPU("Brisk57-345", found, plcHeron), "BRISKP57-3451");
    // 37 names match any continuation.
    EXPECT_EQ(mapping_.MappCPU("Brisk37-1", found, plcBriskFinch), "BRISK37-1101");

    // No candidate: the name without blanks.
    EXPECT_EQ(mapping_.MappCPU("Brisk57 -9", found, plcHeron), "Brisk57-9");
    EXPECT_EQ(mapping_.MappCPU("Brisk37-2", found, plcHeron), "Brisk37-2");
    EXPECT_FALSE(found);
    // The line prefix that leads to the "P" line is case-sensitive.
    EXPECT_EQ(mapping_.MappCPU("brisk57-345", found, plcHeron), "brisk57-345");
    // Other families get no search.
    EXPECT_EQ(mapping_.MappCPU("Brisk57-103", found, plcKestrel), "Brisk57-103");
    EXPECT_FALSE(found);
}

// Its report in debug mode: MappingSelfChecks.InDebugMode*.
TEST_F(CPartMappingTest, ValidateMappingIsSilentOutsideDebugMode) {
    if (ModGSCore::IsDebugMode()) GTEST_SKIP() << "debug mode reports";
    Load(kMapping);
    mapping_.ValidateMapping("OLDMOD", "Tessel");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CPartMappingTest, LoadingAndReloading) {
    const CVellError missing = test::CatchError([&] { mapping_.Init(dir_.Str(), partInfo_, {}); });
    EXPECT_EQ(missing.Number(), 53);
    EXPECT_NE(missing.Source().find(" > "), std::string::npos);

    Load(kMapping);
    EXPECT_EQ(mapping_.ToPartRef("OLDMOD"), "NEWUNKNOWN");
    // A second Init replaces the table; LF line ends are read as well.
    Load("NEWER\tAB-12\n'OLDMOD X\n");
    EXPECT_EQ(mapping_.LegacyNames(), std::vector<std::string>{"NEWER"});
    EXPECT_EQ(mapping_.ToPartRef("OLDMOD"), "OLDMOD");
    EXPECT_EQ(mapping_.ToPartRef("newer"), "AB-12");
}

TEST(CPartMapping, WithoutInitEveryNameIsUnknown) {
    const CPartMapping mapping;
    bool found = true;
    EXPECT_EQ(mapping.ToPartRef("97V A-1"), "07VA1");
    EXPECT_EQ(mapping.MatchModuleName("A 1", plcKestrel), "A1");
    EXPECT_EQ(mapping.MatchPower("P 1", plcKestrel), "");
    EXPECT_EQ(mapping.MappCPU("Brisk57-1", found, plcHeron), "Brisk57-1");
    EXPECT_FALSE(found);
}
