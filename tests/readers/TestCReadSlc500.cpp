#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "core/modResStr.h"
#include "readers/CReadSlc500.h"

using namespace vellcfgrdr;

namespace {

class Slc500Test : public ::testing::Test {
  protected:
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.slc", text));
        return CReadSlc500().GetIoConfig(cfg_);
    }
    std::string At(int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, 1, rack, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(Slc500Test, SlotIndexRunsAcrossTheChassis) {
    EXPECT_EQ(Read("start 1747-L532\r\nrack 1 1746-A10\r\nrack 2 1746-A7\r\n"
                   "slot 3 1746-IB16\r\nslot 12 1746-OB16\r\nslot 18 1746-NI4\r\nladder\r\n"),
              0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.PlcName(), "1747-L532");
    EXPECT_EQ(cfg_.PlcFamily(), plcSlc500);
    EXPECT_EQ(cfg_.BusList().BusByNum(0)->Typename(), "SLC500 Bus");
    EXPECT_EQ(cfg_.DropList().DropByKey(0, 1)->Name(), "LocalRemote");
    EXPECT_EQ(At(1, 0), "1747-L532");
    EXPECT_EQ(At(1, 3), "1746-IB16");
    EXPECT_EQ(At(2, 2), "1746-OB16");
    EXPECT_EQ(At(3, 1), "1746-NI4");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "1746-A10");
}

TEST_F(Slc500Test, UnknownProcessorsAreSubstitutedWithAWarning) {
    EXPECT_EQ(Read("start 1747-L536\nladder\n"), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "PLC 1747-L536 not found, selected 1747-L532 instead.");
    EXPECT_EQ(cfg_.PlcName(), "1747-L532");
}

TEST_F(Slc500Test, ProcessorWithoutSubstituteStaysAsWritten) {
    EXPECT_EQ(Read("start ABC\n"), 0);
    EXPECT_EQ(cfg_.PlcName(), "ABC");
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Unknown module: 'ABC' (drop 1, rack 1, slot 0)"});
}

TEST_F(Slc500Test, MicroLogixGetsNoChassisAndOneWarningPerModule) {
    EXPECT_EQ(Read("start 1762-L40BWA ML\nslot 1 1762-IQ16\nslot 9 1762-OW16\nladder\n"), 0);
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "no chassis");
    EXPECT_EQ(cfg_.RackList().Count(), 1);
    EXPECT_EQ(At(1, 0), "1762L40BWA");
    EXPECT_EQ(At(1, 9), "1762OW16");  // the index is the position: no chassis to split it
    EXPECT_EQ(messages_,
              (std::vector<std::string>{"Unknown module: '1762-L40BWA' (drop 1, rack 1, slot 0)",
                                        "Unknown module: '1762-IQ16' (drop 1, rack 1, slot 1)",
                                        "Unknown module: '1762-OW16' (drop 1, rack 1, slot 9)"}));
}

TEST_F(Slc500Test, ThirdPartyModulesAndTheEndOfTheHardware) {
    EXPECT_EQ(Read("; comment\n  START 1747-L532  \nslot  4   OTHER - Valve block%abc\nLadder "
                   "2\nslot 5 1746-IB16\n"),
              0);
    // Named "Third-party module_Valveblock"; placing it stores the part
    // reference, which drops blanks and dashes of a name the table lacks.
    EXPECT_EQ(At(1, 4), "Thirdpartymodule_Valveblock");
    EXPECT_EQ(messages_,
              std::vector<std::string>{
                  "Unknown module: 'Third-party module_Valveblock' (drop 1, rack 1, slot 4)"});
    EXPECT_EQ(At(1, 5), "");
    // The default chassis of the family was completed for rack 1.
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "1746-A7");
}

TEST_F(Slc500Test, IncompleteLines) {
    EXPECT_EQ(Read("start 1747-L532\nslot 0\nrack 2\n"), 9);  // "rack" without its chassis
    EXPECT_EQ(At(1, 0), "1747-L532");                         // not cleared by the empty slot line
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Line 2 skipped: a slot without a module: slot 0");
}

// Numbers that are no numbers, or out of range, once became slot 0 (over
// the processor), a power-supply place, or an overflow of the slot index.
TEST_F(Slc500Test, BadSlotAndRackNumbersSkipTheLineWithAWarning) {
    EXPECT_EQ(Read("start 1747-L532\n"
                   "slot -2147483648 1746-IB16\n"
                   "slot 99999999999 1746-IB16\n"
                   "slot 0x10 1746-IB16\n"
                   "slot NaN 1746-IB16\n"
                   "slot &HFFFFFFFF 1746-IB16\n"
                   "slot -1 1746-IB16\n"
                   "rack 40000 1746-A7\n"
                   "rack x 1746-A7\n"
                   "slot 2 1746-OB16\n"),
              14003);
    EXPECT_EQ(At(1, 0), "1747-L532");
    EXPECT_EQ(At(1, 2), "1746-OB16");
    EXPECT_EQ(cfg_.ModuleList().Count(), 2);
    EXPECT_EQ(cfg_.RackList().Count(), 1);
    ASSERT_EQ(messages_.size(), 8u);
    EXPECT_EQ(messages_[0],
              "Line 2 skipped: -2147483648 is not a slot number from 0 to 2147483647: "
              "slot -2147483648 1746-IB16");
    EXPECT_EQ(messages_[5],
              "Line 7 skipped: -1 is not a slot number from 0 to 2147483647: slot -1 1746-IB16");
    EXPECT_EQ(messages_[6],
              "Line 8 skipped: 40000 is not a rack number from 1 to 32767: rack 40000 1746-A7");
}

TEST_F(Slc500Test, WarningsFollowTheLanguage) {
    modResStr::SetGuiLanguage(eguiLangFrench);
    const int32_t status = Read("start 1747-L532\nslot x 1746-IB16\nslot 1\n");
    modResStr::SetGuiLanguage(eguiLangEnglish);
    EXPECT_EQ(status, 14003);
    EXPECT_EQ(messages_,
              (std::vector<std::string>{
                  "Ligne 2 ignorée : x n'est pas un numéro d'emplacement de 0 à 2147483647 : "
                  "slot x 1746-IB16",
                  "Ligne 3 ignorée : un emplacement sans module : slot 1"}));
}

// A hostile name is cut where it enters the model, before mapping, messages
// and the document copy it again.
TEST_F(Slc500Test, OverlongNamesAreCutWithAWarning) {
    const std::string huge(5000, 'A');
    EXPECT_EQ(Read("start 1747-L532\nslot 1 " + huge + "\n"), 0);
    EXPECT_EQ(At(1, 1), std::string(CIoConfig::kMaxTextChars, 'A'));
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_[0], "A text of 5000 characters was cut to its first 1024: " +
                                std::string(40, 'A') + "...");
}
