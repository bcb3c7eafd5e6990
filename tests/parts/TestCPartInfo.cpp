#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "core/modResStr.h"
#include "parts/CPartInfo.h"

using namespace vellcfgrdr;
using test::PartFile;
using test::Tabs;
using test::TempDir;
using Names = std::vector<std::string>;

namespace {

// Rows with "|" for the tab.
const char* const kRows[] = {
    "Kestrel|Rack|Main|318RCK0801|0|0|0|ChassisWithRack|\"\"|\"Rack, 8 slots\"|\"Châssis 8\"",
    "Kestrel|CPU|Standard|318CPU*|0||0||\"318CPU2411,318CPU2412\"|Any Kestrel CPU|",
    "Kestrel|CPU|HotStandby|318CPU2411|0|1|0|hsbcpu 2powerslots||Kestrel CPU|",
    "Kestrel|CPU|Standard|318CPU2412|0|1|0|||CPU 2|",
    "Kestrel|Module|DiscreteIn|318DIN1624|12|1|7| |;318DIN1624A|Inputs|Entrées",
    "Kestrel|Module|DiscreteIn|318DIN1624A|13|1|0|||Inputs A",
    "Kestrel|Power|Redundant|318PSR0524D|40|1|0|Redundant||Supply",
    "Kestrel|Module|Special|AB123|14|2|0|||Special",
    "Kestrel|Module|Counter|XY 45-6|15|1|0|||Counter",
    "Raven|Module|AnalogIn|RVNAIN0820|0|1|0|||Analog in",
    "Lark|CPU|Standard|LKXCPU2411|0|1|0|||Lark CPU",
    "Lark|Module|Communication|LKXETH0001|0|1|0|||Ethernet",
    "Osprey|Module|DiscreteOut|OSPDOU1624T|0|1|0|||Outputs",
    "Heron|Module|Counter|HRNCNT0210|0|2|0|||Counter",
    "BriskFinch|CPU|Standard|Brisk37-1000|0|1|0|||Finch CPU",
    "S5-ML|Module|DiscreteIn|6ES5 420-4UA13|0|1|0|||S5 inputs",
    "Plover|CPU|Standard|OSPE581234|0|1|0|||Plover part named like Osprey",
    "NonSpecific|Bundle|Common|318BDL0001|0|1|0|||Bundle",
};

std::vector<std::string> FixtureRows() {
    return {std::begin(kRows), std::end(kRows)};
}

class CPartInfoTest : public ::testing::Test {
  protected:
    CPartInfoTest() { test::RecordMessages(info_, messages_); }
    void Load(const std::string& partText) {
        dir_.Write(CPartInfo::kPartFileName, partText);
        dir_.Write(CPartInfo::kSupplementFileName,
                   "[Bundles]\r\n318BDL0001 = 318DIN1624 + (2) CBL0010\r\n"
                   "[Connector]\r\n318DIN1624 = 318CON2001\r\n");
        info_.Init(dir_.Str());
    }

    TempDir dir_;
    CPartInfo info_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(CPartInfoTest, LookupAndFields) {
    Load(PartFile(FixtureRows()));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(info_.CanonicalName("ab 12-3"), "AB123");
    EXPECT_EQ(info_.CanonicalName("xy456"), "XY 45-6");
    EXPECT_TRUE(info_.PartExists("ab123", true));  // exact: the file's spelling, case aside
    EXPECT_FALSE(info_.PartExists("AB 12-3", true));
    EXPECT_FALSE(info_.PartExists("XY456", true));
    EXPECT_EQ(info_.Connector("318-DIN-1624"), "318CON2001");  // supplement key: canonical name

    EXPECT_EQ(info_.SlotCount("318RCK0801"), 1);  // stored 0
    EXPECT_EQ(info_.SlotCount("318CPU*"), 1);     // empty
    EXPECT_EQ(info_.Parts()[2].PartCapabilities(), CPart::kHotStandbyCpu | CPart::kTwoPowerSlots);
    EXPECT_TRUE(info_.RackIncludesQWA("318RCK0801"));
    EXPECT_TRUE(info_.IsRedundantSupply("318PSR0524D"));
    EXPECT_FALSE(info_.IsAmbiguousName("318DIN1624"));  // pick list commented out
    EXPECT_EQ(info_.Picklist("318 CPU *"), (Names{"318CPU2411", "318CPU2412"}));
    EXPECT_EQ(info_.Parts()[0].Description(eguiLangFrench), "Châssis 8");
    EXPECT_EQ(info_.Parts()[5].Description(eguiLangFrench), "");  // no eleventh field

    // Unknown names: neutral values.
    EXPECT_EQ(info_.SlotCount("NOPE"), 1);
    EXPECT_TRUE(info_.Picklist("NOPE").empty());
    // A name the table does not hold offers the names that it starts.
    EXPECT_EQ(info_.Picklist("318 CPU 24"), (Names{"318CPU2411", "318CPU2412"}));
    EXPECT_TRUE(info_.PartNeedsResolution("318CPU*"));
    EXPECT_TRUE(info_.PartNeedsResolution("318CPU4*"));  // unknown, with "*"
    EXPECT_FALSE(info_.PartNeedsResolution("318CPU4"));  // unknown, without
}

TEST_F(CPartInfoTest, MatchPartsLikeExcludesThePatternItself) {
    Load(PartFile(FixtureRows()));
    EXPECT_EQ(info_.MatchPartsLike("318 din-1624"), (Names{"318DIN1624A"}));
    EXPECT_EQ(info_.MatchPartsLike("318CPU*"), (Names{"318CPU2411", "318CPU2412"}));
    EXPECT_EQ(info_.MatchPartsLike("318???1624"), (Names{"318DIN1624"}));  // "?": no "*" added
    EXPECT_EQ(info_.Picklist("318DIN1624"), (Names{"318DIN1624A"}));
    EXPECT_TRUE(info_.Picklist("318DIN1624A").empty());
}

TEST_F(CPartInfoTest, IndexedPrefixSearchEqualsScan) {
    std::vector<std::string> rows;
    for (int i = 0; i < 300; ++i)  // an order unlike the sorted one
        rows.push_back("Kestrel|Other|Other|318DIN" + std::to_string(i * 37 % 300) +
                       (i % 3 ? "" : "-B") + "|0|1|0|||x");
    rows.push_back("Kestrel|Other|Other|ÉTÉ-1|0|1|0|||x");
    rows.push_back("Kestrel|Other|Other|été 12|0|1|0|||x");
    Load(PartFile(rows));
    for (const char* pattern : {"318DIN1", "318din2*", "318 DIN-1", "318", "", "*", "318DIN10B",
                                "318DIN10B*", "318DIN1?", "318DIN#", "318*B", "été", "ÉTÉ*", "z"})
        EXPECT_EQ(info_.MatchPartsLike(pattern), info_.MatchPartsLikeByScan(pattern)) << pattern;
    EXPECT_EQ(info_.MatchPartsLike("été").size(), 2u);
    EXPECT_EQ(info_.MatchPartsLike("318DIN1").size(), 110u);
}

TEST_F(CPartInfoTest, FamilyPairsAndFamilySearches) {
    Load(PartFile(FixtureRows()));
    EXPECT_EQ(info_.PartNamesSubset(plcLark, ptUnknown),
              (Names{"RVNAIN0820", "LKXCPU2411", "LKXETH0001"}));
    EXPECT_EQ(info_.PartNamesSubset(plcRaven, ptModule),
              (Names{"RVNAIN0820", "LKXETH0001", "OSPDOU1624T"}));
    EXPECT_EQ(info_.PartNamesSubset(plcBriskFinch, ptUnknown),
              (Names{"HRNCNT0210", "Brisk37-1000"}));
    EXPECT_EQ(info_.PartNamesSubset(plcS5Large, ptModule), (Names{"6ES5 420-4UA13"}));
    EXPECT_EQ(info_.PartNamesSubset(plcS5Small, ptModule), (Names{}));

    EXPECT_EQ(info_.FindModuleLike(plcKestrel, "DIN"), "318DIN1624");
    EXPECT_EQ(info_.FindModuleLike(plcLark, "AIN"), "");  // exact family only
    EXPECT_EQ(info_.ModuleNameFromId(40, plcKestrel), "318PSR0524D");
    EXPECT_EQ(info_.ModuleNameFromId(99, plcKestrel), "ModuleID_99");
    const CEnumSet lark = info_.GroupsByFamilyAndType(plcLark, ptModule);
    EXPECT_EQ(lark.AsLong(), (1 << pgCommunication) | (1 << pgAnalogIn));  // with Raven's

    EXPECT_EQ(info_.MultiplePartsAsArray(info_.BundleContents("318BDL0001")),
              (Names{"318DIN1624", "CBL0010", "CBL0010"}));
    EXPECT_EQ(info_.MultiplePartsAsArray("(0) A+(x) B").size(), 2u);
    EXPECT_EQ(info_.MultiplePartsAsArray("(999999999) X").size(), 1000u);  // capped

    // A reload drops the cached subsets.
    Load(PartFile({"Lark|CPU|Standard|LKXCPU3411|0|1|0|||x"}));
    EXPECT_EQ(info_.PartNamesSubset(plcLark, ptUnknown), (Names{"LKXCPU3411"}));
}

TEST_F(CPartInfoTest, GuessCpuFamilyInOrder) {
    Load(PartFile(FixtureRows()));
    // A known part comes first, the card prefix before Kestrel's; the
    // Kestrel pattern minds case.
    // clang-format off
    test::ExpectEach<int32_t>([this](auto name) { return info_.GuessCpuFamily(name); }, {
        {"OSPE581234", plcPlover}, {"Brisk57-2000", plcHeron}, {"318CPUPCX5701", plcHeron},
        {"BriskP37-9", plcBriskFinch}, {"318CPU99999", plcKestrel}, {"318cpu99999", plcNone},
        {"lkxcpu9999", plcLark}});
    // clang-format on
}

TEST_F(CPartInfoTest, PartDescriptionShortening) {
    // Counted in characters: "é" is two bytes.
    const std::string dotAt10 = "Moduleééé." + std::string(190, 'x');
    const std::string late = std::string(30, 'a') + ";" + std::string(100, 'b') + "." +
                             std::string(40, 'c') + "." + std::string(10, 'd');
    Load(PartFile({"Kestrel|Other|Other|D1|0|1|0|||\"" + dotAt10 + "\"|",
                   "Kestrel|Other|Other|D2|0|1|0|||" + late + "|",
                   "Kestrel|Other|Other|D3|0|1|0|||" + std::string(200, 'z') + "|",
                   "Kestrel|Other|Other|D4|0|1|0|||One\\ntwo <b>x</b>|Un\\ndeux",
                   "Kestrel|Other|Other|D5|0|1|0|||A description without tags <b>bold</b>|"}));
    EXPECT_EQ(info_.PartDescription("D1", false), "Moduleééé." + std::string(15, 'x'));
    EXPECT_EQ(info_.PartDescription("D2", false), late.substr(0, 132));
    EXPECT_EQ(info_.PartDescription("D3", false), std::string(160, 'z'));
    EXPECT_EQ(info_.PartDescription("D4", false), "One");  // "<" before 25 stays
    EXPECT_EQ(info_.PartDescription("D4", true), "One\r\ntwo <b>x</b>");
    EXPECT_EQ(info_.PartDescription("D5", false), "A description without tags ");

    modResStr::SetGuiLanguage(eguiLangFrench);
    EXPECT_EQ(info_.PartDescription("D4", true), "Un\r\ndeux");
    EXPECT_EQ(info_.PartDescription("D3", true), std::string(200, 'z'));  // English fallback
    modResStr::SetGuiLanguage(eguiLangEnglish);
}

TEST_F(CPartInfoTest, DuplicatesAreReportedAndSkipped) {
    std::vector<std::string> rows = FixtureRows();
    rows.push_back("Lark|CPU|Standard|AB-123|0|1|0|||second spelling");
    rows.push_back("Lark|CPU|Standard|ab123|0|1|0|||same name");
    Load(PartFile(rows));
    EXPECT_EQ(messages_, (Names{"Duplicate part >AB-123<|1|ReadPartDescriptions",
                                "Duplicate part >ab123<|1|ReadPartDescriptions"}));
    EXPECT_EQ(info_.Count(), static_cast<int32_t>(std::size(kRows)));
    EXPECT_EQ(info_.PlcFamily("AB-123"), plcKestrel);  // the first one stays
    EXPECT_TRUE(info_.PartExists("AB-123", true));     // the new spelling is still known
}

TEST_F(CPartInfoTest, LineEndsAndSkippedLines) {
    Load(PartFile({"Kestrel|Rack|Main|R1|0|1|0|||a", "Kestrel|Rack|Main|R2|0|1|0|||b"}, "\n"));
    EXPECT_EQ(info_.Count(), 2);
    // A short header only asserts; comments, blank and tab-only lines are skipped.
    Load("Family\tType\r\n'old\tline\r\n; note\r\n\t \t\r\n\r\n" +
         Tabs("Kestrel|Rack|Main|R1|0|1|0|||a") + "\r\n");
    EXPECT_EQ(info_.Count(), 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CPartInfoTest, BadLinesAndMissingFilesFailInit) {
    const std::pair<std::string, std::string> cases[] = {
        {"Falcon|Rack|Main|R9|0|1|0|||a", "Invalid PlcFamily:Falcon"},
        {"Kestrel|Gadget|Main|R9|0|1|0|||a", "Invalid part type:Gadget"},
        {"Kestrel|Module||R9|0|1|0|||a", "R9 not in a group"},
        {"Kestrel|Rack|Main|R9|0|1|0", "7 fields, at least 10 expected"},
    };
    for (const auto& [row, detail] : cases) {
        const CVellError e = test::CatchError([&] {
            Load(PartFile({"Kestrel|Rack|Main|R1|0|1|0|||a", row}));
        });
        EXPECT_EQ(e.Number(), 51);
        EXPECT_NE(e.Description().find(detail + " : Line 3 >" + Tabs(row) + "< is in bad shape."),
                  std::string::npos)
            << e.Description();
        EXPECT_EQ(e.LineNumber(), 3);
        EXPECT_EQ(e.Source(), "VellCfgRdr > Part.DeSerialize");
    }

    TempDir empty;
    EXPECT_EQ(test::CatchError([&] { info_.Init(empty.Str()); }).Number(), 53);
    empty.Write(CPartInfo::kPartFileName, PartFile(FixtureRows()));
    const CVellError noSup = test::CatchError([&] { info_.Init(empty.Str()); });
    EXPECT_EQ(noSup.Number(), 53);
    EXPECT_NE(noSup.Source().find(CPartInfo::kSupplementFileName), std::string::npos);
}
