#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"

using namespace vellcfgrdr;

namespace {

struct Message {
    std::string text;
    eMessageLevel level;
    std::string source;
};

// A configuration root attached to the shipped parts knowledge, recording
// its messages.
class ModelTest : public ::testing::Test {
  protected:
    ModelTest() {
        test::AttachShippedParts(cfg_);
        cfg_.EvtInfoMessage.Subscribe(
            [this](const std::string& t, eMessageLevel l, const std::string& s) {
                messages_.push_back({t, l, s});
            });
    }
    std::vector<const CCfgModule*> Modules() const {
        std::vector<const CCfgModule*> out;
        for (const CCfgModule& m : cfg_.ModuleList())
            out.push_back(&m);
        return out;
    }

    CIoConfig cfg_;
    std::vector<Message> messages_;
};

}  // namespace

TEST_F(ModelTest, WithoutPartsKnowledgeAPlcNameCannotBeStored) {
    CIoConfig fresh;
    EXPECT_EQ(test::CatchError([&] { fresh.SetPlcName("X"); }).Number(), 91);
}

TEST_F(ModelTest, PlcNameIsStoredKnownOrMapped) {
    cfg_.SetPlcName("1756-L72");
    EXPECT_EQ(cfg_.PlcName(), "1756-L72");
    cfg_.SetPlcName("1756 L72");  // known by its compressed form
    EXPECT_EQ(cfg_.PlcName(), "1756 L72");
    cfg_.SetPlcName("NO SUCH-CPU");
    EXPECT_EQ(cfg_.PlcName(), "NOSUCHCPU");
}

TEST_F(ModelTest, BusesAreNormalisedAndReplacedAtTheEnd) {
    EXPECT_TRUE(cfg_.BusList().AddBus(1, "ERIO bus"));
    EXPECT_EQ(cfg_.BusList().BusByNum(1)->Typename(), "Ethernet RIO bus");
    EXPECT_TRUE(cfg_.BusList().AddBus(2, "T_BUS"));
    EXPECT_EQ(cfg_.BusList().BusByNum(2)->Typename(), "Tbus");
    EXPECT_TRUE(cfg_.BusList().AddBus(1, "RIO bus"));
    EXPECT_EQ(cfg_.BusList().Count(), 2);
    EXPECT_EQ(cfg_.BusList().BusByIndex(2)->Typename(), "RIO bus");
    EXPECT_EQ(cfg_.BusList().BusByIndex(2)->TopoAddress(), "1");
    EXPECT_EQ(cfg_.BusList().BusByIndex(3), nullptr);
    EXPECT_FALSE(cfg_.BusList().AddBus(40000, "x"));
    EXPECT_EQ(cfg_.BusList().Count(), 2);
}

TEST_F(ModelTest, DropsCompleteTheirBusFromThePlcFamily) {
    cfg_.SetPlcFamily(plcKestrel);
    EXPECT_TRUE(cfg_.DropList().AddDrop3(1, 2, 1, ""));
    EXPECT_EQ(cfg_.BusList().BusByNum(1)->Typename(), "LocalRemote");
    const CCfgDrop* drop = cfg_.DropList().DropByKey(1, 2);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->Name(), "Kestrel drop");
    EXPECT_EQ(drop->IoFamily(), plcKestrel);
    EXPECT_EQ(drop->TopoAddress(), "1.2");
    // A second add keeps the first drop.
    EXPECT_TRUE(cfg_.DropList().AddDrop3(1, 2, 1, "Other"));
    EXPECT_EQ(cfg_.DropList().DropByKey(1, 2)->Name(), "Kestrel drop");
    EXPECT_EQ(cfg_.DropList().CheckDropFamily(9, 9), 0);
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(cfg_.DropList().AddDrop3(1, 3, 0, "KestrelDropforRIO"));
    EXPECT_EQ(cfg_.DropList().DropByKey(1, 3)->Name(), "Kestrel drop");
    EXPECT_TRUE(cfg_.DropList().RemoveDrop(1, 3));
    EXPECT_FALSE(cfg_.DropList().RemoveDrop(1, 3));
    EXPECT_EQ(test::CatchError([&] { cfg_.DropList().DropByIndex(5); }).Number(), 9);

    CIoConfig wren;
    wren.SetPlcFamily(plcWren);
    EXPECT_TRUE(wren.DropList().AddDrop3(1, 2, 1, ""));
    EXPECT_EQ(wren.BusList().BusByNum(1)->Typename(), "Local");
    EXPECT_EQ(wren.DropList().DropByKey(1, 2)->IoFamily(), plcWren);
}

TEST_F(ModelTest, DropFamiliesOfCodes) {
    CCfgDrop drop;
    drop.SetIoFamily(70, plcKestrel);
    EXPECT_EQ(drop.IoFamily(), plcUnsupported);
    drop.SetIoFamily(256, plcKestrel);
    EXPECT_EQ(drop.IoFamily(), plcRaven);
    drop.SetIoFamily(69, plcKestrel);
    EXPECT_EQ(drop.IoFamily(), plcPlc5);
    drop.SetIoFamily(70, plcWren);
    EXPECT_EQ(drop.IoFamily(), plcWren);
}

TEST_F(ModelTest, SetModuleCompletesTheTreeAbove) {
    cfg_.SetPlcFamily(plcKestrel);
    cfg_.ModuleList().SetModule(1, 1, 1, 2, "318 DIN 1624");
    EXPECT_EQ(cfg_.BusList().BusByNum(1)->Typename(), "LocalRemote");
    EXPECT_EQ(cfg_.DropList().DropByKey(1, 1)->Name(), "Kestrel drop");
    // The rack part was chosen while the drop did not exist: family 0.
    EXPECT_EQ(cfg_.RackList().rackName(1, 1, 1), "generic");
    EXPECT_EQ(cfg_.ModuleList().ModuleNameIn(1, 1, 1, 2), "318DIN1624");
    EXPECT_TRUE(messages_.empty());

    // A second placement replaces the first; an empty name clears the slot.
    cfg_.ModuleList().SetModule(1, 1, 1, 2, "318DOU1624T");
    ASSERT_EQ(Modules().size(), 1u);
    EXPECT_EQ(Modules()[0]->PartName(), "318DOU1624T");
    cfg_.ModuleList().SetModule(1, 1, 1, 2, "");
    EXPECT_TRUE(Modules().empty());
    EXPECT_TRUE(messages_.empty());

    // Rack 0 holds modules, but lookups never find them there.
    cfg_.ModuleList().SetModule(1, 1, 0, 3, "318DIN1624");
    EXPECT_EQ(cfg_.ModuleList().FindModule(1, 1, 0, 3), nullptr);
    EXPECT_EQ(Modules().size(), 1u);
}

TEST_F(ModelTest, RacksAboveSixteenWarnAndDuplicatesFail) {
    cfg_.SetPlcFamily(plcKestrel);
    EXPECT_TRUE(cfg_.RackList().AddRack(1, 1, 1, "318RCK0601"));
    EXPECT_FALSE(cfg_.RackList().AddRack(1, 1, 1, "318RCK1001"));
    EXPECT_EQ(cfg_.RackList().rackName(1, 1, 1), "318RCK0601");
    EXPECT_TRUE(cfg_.RackList().AddRack(1, 1, 17, "318RCK0601"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Invalid rack number Pos1.1.17");
    EXPECT_EQ(messages_[0].source, "CCfgRackList");
    cfg_.RackList().SetRack(1, 1, 1, "318RCK1001");
    EXPECT_EQ(cfg_.RackList().rackName(1, 1, 1), "318RCK1001");
    EXPECT_TRUE(cfg_.RackList().RemoveRack(1, 1, 17));
    EXPECT_FALSE(cfg_.RackList().RemoveRack(1, 1, 17));
}

TEST_F(ModelTest, NumbersBeyondSixteenBitsFailTheOperation) {
    const CVellError e =
        test::CatchError([&] { cfg_.ModuleList().SetModule(0, 1, 70000, 1, "X"); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CfgModuleList.SetModule");
    EXPECT_FALSE(cfg_.DropList().AddDrop3(0, 40000, 1, ""));
    EXPECT_FALSE(cfg_.RackList().AddRack(0, 1, -40000, "x"));
    // The largest slot numbers are fine.
    cfg_.ModuleList().SetModule(0, 1, 1, 2147483647, "318DIN1624");
    EXPECT_EQ(cfg_.ModuleList().ModuleNameIn(0, 1, 1, 2147483647), "318DIN1624");
}

TEST_F(ModelTest, ModulesByIdUseTheDropFamily) {
    EXPECT_EQ(test::CatchError([&] { cfg_.ModuleList().AddModuleById(0, 1, 1, 1, 5); }).Number(),
              91);
    cfg_.SetPlcFamily(plcKestrel);
    cfg_.DropList().AddDrop3(0, 1, 1, "");
    cfg_.ModuleList().AddModuleById(0, 1, 1, 1, 9999);
    EXPECT_EQ(cfg_.ModuleList().ModuleNameIn(0, 1, 1, 1), "ModuleID_9999");
    const std::string known = cfg_.PartInfo()->ModuleNameFromId(301, plcKestrel);
    ASSERT_NE(known.find("318"), std::string::npos);
    cfg_.ModuleList().AddModuleById(0, 1, 1, 2, 301);
    EXPECT_EQ(cfg_.ModuleList().ModuleNameIn(0, 1, 1, 2), known);
}
