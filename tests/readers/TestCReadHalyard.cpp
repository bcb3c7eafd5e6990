#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadHalyard.h"

using namespace vellcfgrdr;

namespace {

class HalyardTest : public ::testing::Test {
  protected:
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.asc", text));
        return CReadHalyard().GetIoConfig(cfg_);
    }
    // The list is walked, as its look-up refuses rack 0.
    std::string At(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const {
        for (const auto& m : cfg_.ModuleList())
            if (m.BusNum() == bus && m.DropNum() == drop && m.rackNum() == rack &&
                m.Slotnum() == slot)
                return m.PartName();
        return {};
    }
    const CCfgDrop* Drop(int32_t bus, int32_t drop) const {
        return cfg_.DropList().DropByKey(bus, drop);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

std::string Module(int rack, int slot, const std::string& name) {
    return "BEGIN IOModule\nrack = " + std::to_string(rack) + "\nslot = " + std::to_string(slot) +
           "\nmoduleName = " + name + "\nEND\n";
}

}  // namespace

TEST_F(HalyardTest, HeadsDropsAndModules) {
    EXPECT_EQ(Read("header = 1\nBEGIN PLCConfig\n"
                   "modelName = \"318CPU2411\"\n"
                   "BEGIN DropHead\nheadIndex = 2\nheadType = 4\n"
                   "BEGIN IODrop\ndropNumber = 1\nDropType = 10\n" +
                   Module(2, 5, "318DIN1624") + "BEGIN IOModule\nmoduleName = 318DOU1624T\nEND\n" +
                   "END\n"
                   "BEGIN IODrop\ndropNumber = 3\nDropType = 16\nEND\n"
                   "BEGIN IODrop\ndropNumber = 4\nDropType = 77\nEND\n"
                   "END\n"
                   "BEGIN DropHead\nheadIndex = 3\nheadType = 7\nBEGIN IODrop\nEND\nEND\n"
                   "BEGIN DropHead\nheadIndex = 5\nEND\n"
                   "END\n"),
              0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.PlcName(), "318CPU2411");  // without its quotes
    EXPECT_EQ(cfg_.PlcFamily(), plcKestrel);
    EXPECT_EQ(cfg_.BusList().BusByNum(2)->Typename(), "Plover Bus");
    EXPECT_EQ(cfg_.BusList().BusByNum(3)->Typename(), "Generic Bus");
    EXPECT_EQ(cfg_.BusList().BusByNum(5), nullptr);  // a head without drops is no bus
    EXPECT_EQ(At(2, 1, 2, 5), "318DIN1624");
    EXPECT_EQ(At(2, 1, 0, 0), "318DOU1624T");
    ASSERT_NE(Drop(2, 3), nullptr);
    // DropType 10 and 16 are both Wren drops; 77 has no family.
    EXPECT_EQ(Drop(2, 1)->IoFamily(), plcWren);
    EXPECT_EQ(Drop(2, 3)->IoFamily(), plcWren);
    EXPECT_EQ(Drop(2, 4)->IoFamily(), plcUnsupported);
    EXPECT_NE(Drop(3, 0), nullptr);
}

TEST_F(HalyardTest, KeywordsInAnyCaseAndSkippedBlocks) {
    EXPECT_EQ(Read("; exported\nbegin plcconfig\n  MODELNAME=318CPU2411  \n"
                   "BEGIN Comms\nBEGIN Inner\nEND\nheadIndex = 9\nEND\n"
                   "begin drophead\nBEGIN Other\nEND\nbegin iodrop\ndropnumber=2\n"
                   "BEGIN Diag\nBEGIN Deeper\nEND\nEND\n"
                   "begin iomodule\nRACKS = 1\nSLOT=3\nBEGIN Channels\nEND\nmodulename=318AIN0820\n"
                   "EndAddress = 12\nend\nend\nend\nend\n"),
              0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    ASSERT_NE(cfg_.BusList().BusByNum(0), nullptr);
    EXPECT_EQ(cfg_.BusList().BusByNum(0)->Typename(), "Local Bus");
    // "RACKS" counts as "rack"; the block inside the module and the key
    // that starts like END leave it open.
    EXPECT_EQ(At(0, 2, 1, 3), "318AIN0820");
}

TEST_F(HalyardTest, StatusOfTheModel) {
    EXPECT_EQ(Read("BEGIN PLCConfig\nmodelName = NoSuchCpu\n"
                   "BEGIN DropHead\nBEGIN IODrop\nEND\nEND\nEND\n"),
              14002);
    EXPECT_EQ(cfg_.PlcFamily(), plcNone);
    EXPECT_EQ(cfg_.PlcName(), "NoSuchCpu");
    EXPECT_EQ(cfg_.BusList().Count(), 0);  // reading stopped at the model
}

TEST_F(HalyardTest, FilesWithoutAModel) {
    EXPECT_EQ(Read("modelName = 318CPU2411\n"), 321);
    CIoConfig other;
    test::AttachShippedParts(other);
    other.SetProjectFileName(
        dir_.Write("q.asc", "BEGIN PLCConfig\nBEGIN DropHead\nBEGIN IODrop\nEND\nEND\nEND\n"));
    EXPECT_EQ(CReadHalyard().GetIoConfig(other), 321);
    EXPECT_EQ(other.DropList().Count(), 1);  // kept
    other.SetProjectFileName(dir_.File("missing.asc"));
    EXPECT_EQ(CReadHalyard().GetIoConfig(other), 53);
}

TEST_F(HalyardTest, AFileCutOffInsideABlockIsNoSuccess) {
    EXPECT_EQ(Read("BEGIN PLCConfig\nmodelName = 318CPU2411\nBEGIN DropHead\n"
                   "BEGIN IODrop\ndropNumber = 1\n" +
                   Module(0, 1, "318DIN1624") + "BEGIN IOModule\nmoduleName = 318DIN0824\n"),
              321);
    EXPECT_EQ(At(0, 1, 0, 1), "318DIN1624");
    EXPECT_EQ(messages_,
              std::vector<std::string>{"The file ends inside a block that is not closed"});
}

TEST_F(HalyardTest, DeepNestingIsSkippedWithoutRecursion) {
    std::string text = "BEGIN PLCConfig\nmodelName = 318CPU2411\n";
    for (int i = 0; i < 200000; ++i)
        text += "BEGIN X\n";
    for (int i = 0; i < 200000; ++i)
        text += "END\n";
    EXPECT_EQ(Read(text + "END\n"), 0);
}
