#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadSkeinPro.h"

using namespace vellcfgrdr;

namespace {

// Export lines joined with CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view l : lines)
        (text += l) += "\r\n";
    return text;
}

// A hardware block holding one local rack 0 with the given lines.
std::string LocalRack(std::initializer_list<std::string_view> rackLines) {
    std::string text = Lines({"HARD_CONFIGURATION", "BUS X", "RACK 0"});
    for (std::string_view l : rackLines)
        (text += l) += "\r\n";
    return text + Lines({"END_RACK", "END_BUS", "END_CONFIGURATION"});
}

std::string Module(int address, std::string_view reference) {
    return "MODULE\r\nAddress = " + std::to_string(address) + "\r\nREFERENCE = '" +
           std::string(reference) + "'\r\nEND_MODULE";
}

class SkeinProTest : public ::testing::Test {
  protected:
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.fef", text));
        return CReadSkeinPro().GetIoConfig(cfg_);
    }
    std::string At(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(bus, drop, rack, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(SkeinProTest, ProcessorReferenceAndAddress) {
    EXPECT_EQ(Read(Lines({"HARD_CONFIGURATION", "CU", "REFERENCE = 'Brisk57 -2311'", "ADDRESS 2",
                          "END_CU", "END_CONFIGURATION"})),
              0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.PlcFamily(), plcHeron);
    EXPECT_EQ(cfg_.PlcName(), "Brisk57-2311");
    EXPECT_EQ(At(0, 1, 1, 2), "Brisk57-2311");
    EXPECT_EQ(cfg_.DropList().DropByKey(0, 1)->IoFamily(), plcHeron);
}

TEST_F(SkeinProTest, ShortProcessorNameIsMatchedWithAReport) {
    EXPECT_EQ(Read(Lines({"HARD_CONFIGURATION", "CU", "REFERENCE = \"Brisk57-231\"", "END_CU"})),
              0);
    EXPECT_EQ(cfg_.PlcName(), "BRISK57-2311");
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "The part 'Brisk57-231' has been matched with part 'BRISK57-2311'"});
}

TEST_F(SkeinProTest, ProcessorOfNoFamilyGives14002AndReadingGoesOn) {
    EXPECT_EQ(Read(Lines({"HARD_CONFIGURATION", "CU", "REFERENCE = 'XYZ 99'", "ADDRESS 2", "END_CU",
                          "BUS X", "RACK 0", Module(3, "HRN DIN 1624"), "END_RACK"})),
              14002);
    EXPECT_EQ(cfg_.PlcName(), "");
    EXPECT_EQ(At(0, 1, 1, 2), "");
    EXPECT_EQ(At(0, 1, 1, 3), "HRNDIN1624");
}

TEST_F(SkeinProTest, RackAddressesAreDropsOfTheLocalBus) {
    EXPECT_EQ(Read(Lines({"HARD_CONFIGURATION", "BUS X", "RACK 0", "END_RACK", "RACK 2", "END_RACK",
                          "END_BUS"})),
              0);
    EXPECT_EQ(cfg_.BusList().Count(), 1);
    ASSERT_NE(cfg_.DropList().DropByKey(0, 1), nullptr);
    ASSERT_NE(cfg_.DropList().DropByKey(0, 3), nullptr);
    EXPECT_EQ(cfg_.DropList().DropByKey(0, 3)->IoFamily(), plcHeron);
    EXPECT_EQ(cfg_.DropList().DropByKey(0, 2), nullptr);
}

TEST_F(SkeinProTest, SecondRackTakesAddressesFromEight) {
    EXPECT_EQ(Read(LocalRack({"REFERENCE = 'HRN RKX 08E'", "REFERENCE_2 = 'HRN RKX 08E'",
                              Module(9, "HRN DIN 1624"), Module(103, "HRN DOU 1624T"),
                              Module(7, "HRN AIN 0820")})),
              0);
    EXPECT_EQ(At(0, 1, 2, 1), "HRNDIN1624");
    EXPECT_EQ(At(0, 1, 1, 3), "HRNDOU1624T");
    EXPECT_EQ(At(0, 1, 1, 7), "HRNAIN0820");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "HRNRKX08EX");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 2), "HRNRKX08EX");

    CIoConfig single;
    test::AttachShippedParts(single);
    single.SetProjectFileName(dir_.Write("q.fef", LocalRack({Module(9, "HRN DIN 1624")})));
    EXPECT_EQ(CReadSkeinPro().GetIoConfig(single), 0);
    EXPECT_EQ(single.ModuleList().ModuleNameIn(0, 1, 1, 9), "HRNDIN1624");
}

TEST_F(SkeinProTest, SupplyGoesToTheRackOfItsPlaceInTheBlock) {
    EXPECT_EQ(Read(LocalRack({"SUPPLY", "REFERENCE = 'HRN PSU 0624A'", "END_SUPPLY",
                              "REFERENCE_2 = 'HRN RCK 08'", "SUPPLY", "REFERENCE = 'HRN PSU 1024D'",
                              "END_SUPPLY"})),
              0);
    EXPECT_EQ(At(0, 1, 1, skPower), "HRNPSU0624A");
    EXPECT_EQ(At(0, 1, 2, skPower), "HRNPSU1024D");
}

TEST_F(SkeinProTest, UnknownRackReferenceGivesTheHeronDefaultRack) {
    EXPECT_EQ(Read(LocalRack({"REFERENCE = 'HRN RCK 99'"})), 0);
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "HRNRKX08EX");
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "The part 'HRN RCK 99' has been matched with part 'HRNRKX08EX'"});
}

TEST_F(SkeinProTest, ModuleNamesFallBackToTheBriskFinchFamily) {
    // A communication module the Heron table names differently: matched
    // by containment among the Heron modules, reported.
    EXPECT_EQ(Read(LocalRack({Module(1, "ETH 0200"), Module(2, "HRN DIN 1624")})), 0);
    EXPECT_EQ(At(0, 1, 1, 1), "HRCETH0200");
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "The part 'ETH0200' has been matched with part 'HRCETH0200'"});
}

// The bus counter steps twice per further bus: the bus is made under the
// first value, what follows is placed under the second, while the RACK
// line's drop stays on bus 0.
TEST_F(SkeinProTest, FurtherBusesStepTheCounterTwice) {
    EXPECT_EQ(Read(Lines({"HARD_CONFIGURATION", "CU", "REFERENCE = 'Brisk57-2311'", "END_CU",
                          "BUS 'DP'", "RACK 1", "REFERENCE = 'HRN RCK 06'",
                          Module(2, "HRN DIN 1624"), "END_RACK", "END_BUS", "BUS FMS", "RACK 4",
                          Module(0, "HRN DOU 1624T"), "END_RACK", "END_BUS"})),
              0);
    ASSERT_NE(cfg_.BusList().BusByNum(1), nullptr);
    EXPECT_EQ(cfg_.BusList().BusByNum(1)->Typename(), "BUS_DP");
    EXPECT_EQ(cfg_.BusList().BusByNum(3)->Typename(), "BUS_FMS");
    EXPECT_EQ(cfg_.RackList().rackName(2, 2, 1), "HRNRCK06");
    EXPECT_EQ(At(2, 2, 1, 2), "HRNDIN1624");
    EXPECT_EQ(At(4, 5, 1, 0), "HRNDOU1624T");
    EXPECT_NE(cfg_.DropList().DropByKey(0, 2), nullptr);
    EXPECT_NE(cfg_.DropList().DropByKey(0, 5), nullptr);
}

TEST_F(SkeinProTest, BlocksOnlyEndAtTheirOwnEndLine) {
    // Stray END lines are ignored; a MODULE keyword inside a SUB_MODULE
    // block is not a module; blocks nest ten thousand deep without growth.
    std::string deep;
    for (int i = 0; i < 10000; ++i)
        deep += "SUB_MODULE\r\n";
    for (int i = 0; i < 10000; ++i)
        deep += "END_SUB_MODULE\r\n";
    EXPECT_EQ(Read(Lines({"END_RACK",
                          "END_CONFIGURATION",
                          "HARD_CONFIGURATION",
                          "END_CU",
                          "END_MODULE",
                          "BUS X",
                          "END_CU",
                          "RACK 0",
                          "END_MODULE",
                          "MODULE",
                          "Address = 4",
                          "SUB_MODULE",
                          "MODULE",
                          "Address = 6",
                          "END_MODULE",
                          "END_SUB_MODULE",
                          deep,
                          "REFERENCE = 'HRN DIN 1624'",
                          "END_MODULE",
                          "END_RACK"})),
              0);
    EXPECT_EQ(At(0, 1, 1, 4), "HRNDIN1624");
    EXPECT_EQ(cfg_.ModuleList().Count(), 1);
}

TEST_F(SkeinProTest, UnusableNumbersSkipTheirLineWithAWarning) {
    EXPECT_EQ(Read(LocalRack({Module(2, "HRN DIN 1624"), "MODULE", "Address = 0x02",
                              "REFERENCE = 'HRN DOU 1624T'", "END_MODULE", "MODULE", "Address = -3",
                              "REFERENCE = 'HRN DOU 1624T'", "END_MODULE", "MODULE",
                              "REFERENCE = 'HRN AIN 0820'", "END_MODULE"}) +
                   Lines({"HARD_CONFIGURATION", "BUS X", "RACK 99999", Module(1, "HRN DIN 0824"),
                          "END_RACK", "RACK", "END_RACK"})),
              14003);
    EXPECT_EQ(At(0, 1, 1, 2), "HRNDIN1624");
    EXPECT_EQ(At(0, 1, 1, skPower), "");
    EXPECT_EQ(cfg_.ModuleList().Count(), 1);
    EXPECT_EQ(messages_,
              (std::vector<std::string>{
                  "Line 9 skipped: 0x02 is not a slot number from 0 to 32767: Address = 0x02",
                  "Module block of line 8 skipped: no valid address or reference",
                  "Line 13 skipped: -3 is not a slot number from 0 to 32767: Address = -3",
                  "Module block of line 12 skipped: no valid address or reference",
                  "Module block of line 16 skipped: no valid address or reference",
                  "Line 24 skipped: 99999 is not a rack number from 0 to 32766: RACK 99999",
                  "Line 30 skipped:  is not a rack number from 0 to 32766: RACK"}));
}
