#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "output/CLoomWriter.h"

using namespace vellcfgrdr;
using test::EnvGuard;

namespace {

// 1700000000 s after 1970 in UTC.
constexpr const char* kEpoch = "1700000000";

// A configuration attached to the shipped parts knowledge, written with a
// fixed SOURCE_DATE_EPOCH.
class WriterTest : public ::testing::Test {
  protected:
    WriterTest() : epoch_("SOURCE_DATE_EPOCH", kEpoch) { test::AttachShippedParts(cfg_); }
    std::string Write() const { return CLoomWriter(cfg_.PartInfo()).CreateXml(cfg_); }
    // The <plc> element of the document.
    std::string Plc() const {
        const std::string xml = Write();
        const size_t from = xml.find("    <plc ");
        const size_t to = xml.find("  </project>");
        return from < to && to != std::string::npos ? xml.substr(from, to - from) : xml;
    }

    EnvGuard epoch_;
    CIoConfig cfg_;
};

}  // namespace

// The PLC's rules where they differ from a module's (resolved, placeholder
// and unknown PLCs are in the golden cases).
TEST_F(WriterTest, PlcIsResolvedOnlyWhenKnownUnambiguousAndUpperCase) {
    const struct {
        int32_t family;
        const char* name;
        const char* plc;
    } cases[] = {
        // Known in lower case, but never taken as a part number.
        {plcKestrel, "318cpu2411",
         "    <plc type=\"Kestrel\" displayPart=\"318cpu2411\" ignoreError=\"true\" />\n"},
        // Lower case with candidates: the candidates.
        {plcKestrel, "318cpu1*",
         "    <plc type=\"Kestrel\" displayPart=\"318cpu1*\">\n"
         "      <pickList partNumber=\"318CPU1101\" />\n"
         "      <pickList partNumber=\"318CPU1202\" />\n"
         "      <pickList partNumber=\"318CPU1222\" />\n"
         "      <pickList partNumber=\"318CPU1322\" />\n"
         "      <pickList partNumber=\"318CPU1xxx\" />\n    </plc>\n"},
        // A single candidate is still a choice for the PLC (a module would
        // get none).
        {plcControlLogix, "1756-CNB",
         "    <plc type=\"ControlLogix\" displayPart=\"1756-CNB\">\n"
         "      <pickList partNumber=\"1756-CNBR\" />\n    </plc>\n"},
        // A truncated name the table does not hold offers the names it starts.
        {plcControlLogix, "1756-L8",
         "    <plc type=\"ControlLogix\" displayPart=\"1756L8\">\n"
         "      <pickList partNumber=\"1756-L81E\" />\n"
         "      <pickList partNumber=\"1756-L82E\" />\n"
         "      <pickList partNumber=\"1756-L83E\" />\n"
         "      <pickList partNumber=\"1756-L84E\" />\n"
         "      <pickList partNumber=\"1756-L85E\" />\n"
         "      <pickList partNumber=\"1756-L8x\" />\n    </plc>\n"},
    };
    for (const auto& c : cases) {
        cfg_.SetPlcFamily(c.family);
        cfg_.SetPlcName(c.name);
        EXPECT_EQ(Plc(), c.plc) << c.name;
    }
}

TEST_F(WriterTest, RacksAndModulesOfAMixedConfiguration) {
    cfg_.SetProjectFileName("C:\\plant\\Mixed.asc");
    cfg_.SetProjectFormat(pfHalyard);
    cfg_.SetPlcFamily(plcKestrel);
    cfg_.SetPlcName("318CPU2411");
    CCfgDropList& drops = cfg_.DropList();
    CCfgRackList& racks = cfg_.RackList();
    CCfgModuleList& modules = cfg_.ModuleList();

    // Bus 2 first: the document keeps that order.
    ASSERT_TRUE(drops.AddDrop3(2, 1, DropFamily::kKestrel, ""));
    ASSERT_TRUE(racks.AddRack(2, 1, 1, "318RCK0801"));  // resolved
    ASSERT_TRUE(racks.AddRack(2, 1, 2, ""));            // genericRackKestrel offers its racks
    ASSERT_TRUE(racks.AddRack(2, 1, 3, "MYRACK"));      // no MYRACKRackKestrel: flagged
    ASSERT_TRUE(racks.AddRack(2, 1, 4, "318rck0801"));  // known, but lower case
    modules.SetModule(2, 1, 1, 0, "318CPU2411");
    modules.SetModule(2, 1, 1, -3, "318DIN1624");  // a power position makes it Power
    modules.SetModule(2, 1, 1, -4, "318PSU0824D");
    modules.SetModule(2, 1, 1, -1, "318PSU0824D");
    modules.SetModule(2, 1, 1, -2, "318CPU2411");
    modules.SetModule(2, 1, 1, 1, "318DIN1624");
    modules.SetModule(2, 1, 1, 2, "318DIN16xx");   // ambiguous: its candidates
    modules.SetModule(2, 1, 1, 3, "ZZZ999");       // unknown
    modules.SetModule(2, 1, 2, 1, "318PSU0824D");  // a supply in an ordinary slot
    modules.SetModule(2, 1, 1, 1, "318DIN1624");   // placed again: now last of its rack

    ASSERT_TRUE(drops.AddDrop3(1, 1, DropFamily::kControlLogix, ""));
    ASSERT_TRUE(racks.AddRack(1, 1, 0, "1756-A10"));
    ASSERT_TRUE(racks.AddRack(1, 1, 1, ""));  // genericRackControlLogix
    modules.SetModule(1, 1, 0, 0, "1756-L7x");
    modules.SetModule(1, 1, 0, 1, "1756-IB16");  // one candidate: no pick list for a module
    modules.SetModule(1, 1, 0, 2, "1756-PA75");

    // A family without a placeholder rack.
    ASSERT_TRUE(drops.AddDrop3(1, 7, DropFamily::kSarn, ""));
    ASSERT_TRUE(racks.AddRack(1, 7, 1, ""));

    // Orphans: a rack whose drop is gone, a module whose rack is gone.
    ASSERT_TRUE(racks.AddRack(1, 9, 1, "1756-A10"));
    modules.SetModule(1, 9, 1, 1, "1756-IB16");
    ASSERT_TRUE(drops.RemoveDrop(1, 9));
    modules.SetModule(2, 1, 5, 1, "318DIN1624");
    ASSERT_TRUE(racks.RemoveRack(2, 1, 5));

    // The rack replaced last is written last, its modules with it.
    racks.SetRack(2, 1, 1, "318RCK0801");

    const std::string expected = test::ReadBytes(VELL_TEST_DATA "/output/MixedConfiguration.xml");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Write(), expected);
}

TEST_F(WriterTest, WithoutPartsKnowledgeTheWriteFailsNamingTheStep) {
    const CVellError e = test::CatchError([&] { CLoomWriter(nullptr).CreateXml(cfg_); });
    EXPECT_EQ(e.Number(), 91);
    EXPECT_EQ(e.Source(), "VellCfgRdr > LoomWriter.CreateXml");
}

TEST(CLoomWriter, DateTimeIsUtcForAValidEpochOtherwiseLocal) {
    // A zone far from UTC shows which of the two was used.
    EnvGuard tz("TZ", "XST-5");
    {
        EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
        EXPECT_EQ(CLoomWriter::DateTimeText(), "1970-01-01 00:00:00");
    }
    {
        EnvGuard epoch("SOURCE_DATE_EPOCH", kEpoch);
        EXPECT_EQ(CLoomWriter::DateTimeText(), "2023-11-14 22:13:20");
    }
    const auto localNow = [] {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
        return std::string(text);
    };
    for (const char* bad : {"", "12x", "-5", " 7", "1e9", "99999999999999999999999"}) {
        EnvGuard epoch("SOURCE_DATE_EPOCH", bad);
        const std::string before = localNow();
        const std::string text = CLoomWriter::DateTimeText();
        const std::string after = localNow();
        EXPECT_TRUE(text == before || text == after) << '"' << bad << "\" gave " << text;
    }
    EnvGuard unset("SOURCE_DATE_EPOCH", nullptr);
    EXPECT_TRUE(std::regex_match(CLoomWriter::DateTimeText(),
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
}
