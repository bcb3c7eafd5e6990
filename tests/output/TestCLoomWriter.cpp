#include <gtest/gtest.h>

#include <ctime>
#include <map>
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
constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
    "<!--Exchange file of the PLC I/O configuration, written by VellCfgRdr-->\n"
    "<configExchangeFile version=\"2.0\" dateTime=\"2023-11-14 22:13:20\">\n";
constexpr const char* kTail = "</configExchangeFile>\n";

std::string Document(const std::string& body) {
    return kHead + body + kTail;
}

// Forwards to the shipped part table, counting the questions the writer
// asks; PartExists fails for the name "BOOM".
class CountingPartInfo final : public IPartInfo {
    using SV = std::string_view;
    using Names = std::vector<std::string>;

  public:
    explicit CountingPartInfo(std::shared_ptr<const IPartInfo> inner) : in_(std::move(inner)) {}

    mutable std::map<std::string, int> exists, types, picklists;

    bool PartExists(SV name, bool exact) const override {
        ++exists[std::string(name)];
        if (name == "BOOM") throw CVellError(13, "Type mismatch");
        return in_->PartExists(name, exact);
    }
    int32_t PartType(SV name) const override {
        ++types[std::string(name)];
        return in_->PartType(name);
    }
    Names Picklist(SV name) const override {
        ++picklists[std::string(name)];
        return in_->Picklist(name);
    }

    // Not used by the writer.
    std::string AlternativConnector(SV n) const override { return in_->AlternativConnector(n); }
    std::string BundleContents(SV n) const override { return in_->BundleContents(n); }
    std::string Connector(SV n) const override { return in_->Connector(n); }
    std::string ShieldKit(SV n) const override { return in_->ShieldKit(n); }
    int32_t GroupOf(SV n) const override { return in_->GroupOf(n); }
    int16_t ModuleId(SV n) const override { return in_->ModuleId(n); }
    int32_t PartFamily(SV n) const override { return in_->PartFamily(n); }
    int32_t PlcFamily(SV n) const override { return in_->PlcFamily(n); }
    int16_t SlotCount(SV n) const override { return in_->SlotCount(n); }
    int32_t PlacementRule(SV n) const override { return in_->PlacementRule(n); }
    bool PartNeedsResolution(SV n) const override { return in_->PartNeedsResolution(n); }
    bool IsAmbiguousName(SV n) const override { return in_->IsAmbiguousName(n); }
    bool IsHotStandByCPU(SV n) const override { return in_->IsHotStandByCPU(n); }
    bool IsRedundantSupply(SV n) const override { return in_->IsRedundantSupply(n); }
    bool RackHasRedundandPowerSlot(SV n) const override {
        return in_->RackHasRedundandPowerSlot(n);
    }
    bool RackIncludesQWA(SV n) const override { return in_->RackIncludesQWA(n); }
    const std::vector<CPart>& Parts() const override { return in_->Parts(); }
    int32_t Count() const override { return in_->Count(); }
    Names MatchPartsLike(SV p) const override { return in_->MatchPartsLike(p); }
    Names PartNamesSubset(int32_t f, int32_t t) const override {
        return in_->PartNamesSubset(f, t);
    }
    std::string FindModuleLike(int32_t f, SV t) const override { return in_->FindModuleLike(f, t); }
    CEnumSet GroupsByFamilyAndType(int32_t f, int32_t t) const override {
        return in_->GroupsByFamilyAndType(f, t);
    }
    int32_t GuessCpuFamily(SV n) const override { return in_->GuessCpuFamily(n); }
    std::string ModuleNameFromId(int16_t id, int32_t f) const override {
        return in_->ModuleNameFromId(id, f);
    }
    Names MultiplePartsAsArray(SV t) const override { return in_->MultiplePartsAsArray(t); }
    std::string PartDescription(SV n, bool full) const override {
        return in_->PartDescription(n, full);
    }

  private:
    std::shared_ptr<const IPartInfo> in_;
};

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

TEST_F(WriterTest, EmptyConfigurationIsAnUnresolvedPlcOnly) {
    EXPECT_EQ(Write(),
              Document(R"(  <project fileName="" fileType="Undefined" vendor="unknown" path="">
    <plc type="Invalid or unsupported PLC family" displayPart="" ignoreError="true" />
  </project>
)"));
}

TEST_F(WriterTest, PlcIsResolvedOnlyWhenKnownUnambiguousAndUpperCase) {
    cfg_.SetProjectFileName("/data/plant 1/Line.L5K");
    cfg_.SetProjectFormat(pfControlLogix);
    cfg_.SetPlcFamily(plcControlLogix);
    cfg_.SetPlcName("1756-L72");
    EXPECT_EQ(
        Write(),
        Document(
            R"(  <project fileName="Line.L5K" fileType="ControlLogix" vendor="Rockwell" path="/data/plant 1/">
    <plc type="ControlLogix" displayPart="1756-L72" partNumber="1756-L72" />
  </project>
)"));

    // The placeholder offers its whole list.
    cfg_.SetPlcName("1756-L7x");
    EXPECT_EQ(Plc(), R"(    <plc type="ControlLogix" displayPart="1756-L7x">
      <pickList partNumber="1756-L71" />
      <pickList partNumber="1756-L72" />
      <pickList partNumber="1756-L73" />
      <pickList partNumber="1756-L74" />
      <pickList partNumber="1756-L75" />
    </plc>
)");

    // Known in lower case, but never taken as a part number; with nothing
    // to choose from it is flagged.
    cfg_.SetProjectFormat(pfHalyard);
    EXPECT_NE(Write().find("vendor=\"Corvane\""), std::string::npos);
    cfg_.SetPlcFamily(plcKestrel);
    cfg_.SetPlcName("318cpu2411");
    EXPECT_EQ(cfg_.PlcName(), "318cpu2411");
    EXPECT_EQ(Plc(),
              "    <plc type=\"Kestrel\" displayPart=\"318cpu2411\" ignoreError=\"true\" />\n");

    // Lower case with candidates: the candidates.
    cfg_.SetPlcName("318cpu*");
    EXPECT_TRUE(
        Plc().starts_with("    <plc type=\"Kestrel\" displayPart=\"318cpu*\">\n"
                          "      <pickList partNumber=\"318CPU1101\" />\n"));

    // A single candidate is still a choice for the PLC (a module would get
    // none).
    cfg_.SetPlcFamily(plcControlLogix);
    cfg_.SetPlcName("1756-CNB");
    EXPECT_EQ(Plc(), R"(    <plc type="ControlLogix" displayPart="1756-CNB">
      <pickList partNumber="1756-CNBR" />
    </plc>
)");

    // A truncated name that the table does not hold offers the names it
    // starts, so that a planner can choose.
    cfg_.SetPlcName("1756-L8");
    EXPECT_EQ(Plc(), R"(    <plc type="ControlLogix" displayPart="1756L8">
      <pickList partNumber="1756-L81E" />
      <pickList partNumber="1756-L82E" />
      <pickList partNumber="1756-L83E" />
      <pickList partNumber="1756-L84E" />
      <pickList partNumber="1756-L85E" />
      <pickList partNumber="1756-L8x" />
    </plc>
)");
    cfg_.SetPlcName("1756-Q");
    EXPECT_EQ(Plc(),
              "    <plc type=\"ControlLogix\" displayPart=\"1756Q\" ignoreError=\"true\" />\n");
}

TEST_F(WriterTest, BusesFollowListOrderNotNumbers) {
    cfg_.SetPlcFamily(plcKestrel);
    ASSERT_TRUE(cfg_.BusList().AddBus(5, "RIO bus"));
    ASSERT_TRUE(cfg_.BusList().AddBus(3, "LocalRemote"));
    ASSERT_TRUE(cfg_.DropList().AddDrop3(3, 1, DropFamily::kKestrel, ""));
    ASSERT_TRUE(cfg_.DropList().AddDrop3(5, 2, DropFamily::kKestrelDio, "KestrelDropforRIO"));
    ASSERT_TRUE(cfg_.DropList().AddDrop3(3, 4, DropFamily::kSarn, "Far away"));
    EXPECT_EQ(Write(),
              Document(R"(  <project fileName="" fileType="Undefined" vendor="unknown" path="">
    <plc type="Kestrel" displayPart="" ignoreError="true">
      <bus type="RIO bus" position="5" topoAddress="5">
        <drop family="Kestrel" type="Kestrel drop" position="2" topoAddress="5.2" />
      </bus>
      <bus type="LocalRemote" position="3" topoAddress="3">
        <drop family="Kestrel" type="Kestrel drop" position="1" topoAddress="3.1" />
        <drop family="unsupported" type="Far away" position="4" topoAddress="3.4" />
      </bus>
    </plc>
  </project>
)"));
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

TEST_F(WriterTest, AsksThePartTableOncePerName) {
    auto counting = std::make_shared<CountingPartInfo>(cfg_.PartInfo());
    cfg_.SetPlcFamily(plcKestrel);
    cfg_.SetPlcName("318CPU2411");
    for (int rack = 1; rack <= 3; ++rack) {
        ASSERT_TRUE(cfg_.RackList().AddRack(1, 1, rack, ""));
        for (int slot = 0; slot < 4; ++slot)
            cfg_.ModuleList().SetModule(1, 1, rack, slot, slot % 2 ? "318DIN16xx" : "318CPU2411");
    }
    const std::string once = CLoomWriter(counting).CreateXml(cfg_);
    EXPECT_EQ(once, Write());
    for (const auto* calls : {&counting->exists, &counting->types, &counting->picklists})
        for (const auto& [name, count] : *calls)
            EXPECT_EQ(count, 1) << name;
    EXPECT_EQ(counting->picklists.count("genericRackKestrel"), 1u);
    EXPECT_EQ(counting->types.count("318DIN16xx"), 1u);

    // A second write asks again: answers are kept for one write only.
    CLoomWriter writer(counting);
    writer.CreateXml(cfg_);
    writer.CreateXml(cfg_);
    EXPECT_EQ(counting->picklists["genericRackKestrel"], 3);
}

TEST_F(WriterTest, ErrorsNameTheStep) {
    auto counting = std::make_shared<CountingPartInfo>(cfg_.PartInfo());
    cfg_.ModuleList().SetModule(1, 1, 1, 1, "BOOM");
    CVellError e = test::CatchError([&] { CLoomWriter(counting).CreateXml(cfg_); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), "VellCfgRdr > LoomWriter.WriteModules");

    e = test::CatchError([&] { CLoomWriter(nullptr).CreateXml(cfg_); });
    EXPECT_EQ(e.Number(), 91);
    EXPECT_EQ(e.Description(), "Null Pointer Exception");
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
