#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/Enums.h"
#include "parts/CFamilyInfo.h"

using namespace vellcfgrdr;
using vellcfgrdr::test::TempDir;

namespace {

class CFamilyInfoTest : public ::testing::Test {
  protected:
    void Load(const std::string& folder) {
        test::RecordMessages(info_, messages_);
        info_.EvtReportError.Subscribe([this](const std::string& t) { reports_.push_back(t); });
        info_.Init(folder);
    }
    void LoadText(const std::string& text) {
        dir_.Write(CFamilyInfo::kFileName, text);
        Load(dir_.Str());
    }

    TempDir dir_;
    CFamilyInfo info_;
    std::vector<std::string> messages_;
    std::vector<std::string> reports_;
};

}  // namespace

// The shipped file: tests/parts/TestShippedCatalogue.cpp.
TEST_F(CFamilyInfoTest, DefaultsForMissingSectionsAndKeys) {
    LoadText("[Kestrel]\r\nMinSlot=1\r\n");
    EXPECT_EQ(info_.MaxDropCount(plcHeron), 1);
    EXPECT_EQ(info_.MinSlot(plcHeron), 0);
    EXPECT_EQ(info_.DefaultCPU(plcKestrel), "");
    EXPECT_EQ(info_.FamilyAttribute(plcKestrel, "minslot", "x"), "1");
    EXPECT_EQ(info_.FamilyAttribute(plcKestrel, "Nope", "dflt"), "dflt");

    EXPECT_EQ(info_.DefaultRack(plcNone, 1), "generic");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(info_.DefaultRack(plcHeron, 1), "generic");
    EXPECT_EQ(messages_,
              std::vector<std::string>{"No DefaultRack found for Heron PLC|2|CFamilyInfo"});
}

TEST_F(CFamilyInfoTest, InlineCommentsAndBadNumbers) {
    LoadText(
        "[Kestrel]\r\nMaxDrop=4 ; four\r\nDefaultCPU=A\tB ;x\r\nGenericCPUs= A|B \r\n"
        "MinSlot=abc\r\nMaxRack=99999\r\nHASPOWERSLOT=1\r\n");
    EXPECT_EQ(info_.FamilyAttribute(plcKestrel, "MaxDrop", ""), "4");
    EXPECT_EQ(info_.MaxDropCount(plcKestrel), 4);
    EXPECT_EQ(info_.DefaultCPU(plcKestrel), "A B");
    EXPECT_EQ(info_.GenericCPUs(plcKestrel), "A|B");
    EXPECT_TRUE(info_.RacksHavePowerSlot(plcKestrel));
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(info_.MinSlot(plcKestrel), 0);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].find("invalid FamilyAttribute"), std::string::npos);
    EXPECT_NE(reports_[0].find("FamilyInfo.FamilyAttributeInt"), std::string::npos);
    // Too large for its 16-bit accessor: reported, default.
    EXPECT_EQ(info_.MaxRackCount(plcKestrel, 1), 0);
    EXPECT_EQ(reports_.size(), 2u);
}

TEST_F(CFamilyInfoTest, ValidationAndOverWrite) {
    LoadText("[Kestrel]\r\nMinSlot=1\r\nColour=red\r\n[Blue]\r\nMaxDrop=2\r\n");
    const std::vector<std::string> findings = info_.Validate();
    EXPECT_EQ(findings, (std::vector<std::string>{"Invalid Field Colour", "Invalid Family Blue"}));
    info_.OverWrite(plcKestrel, "MinSlot", "0");
    EXPECT_EQ(info_.MinSlot(plcKestrel), 0);
    info_.OverWrite(plcLark, "DefaultCPU", "LKXCPU2411");
    EXPECT_EQ(info_.DefaultCPU(plcLark), "LKXCPU2411");
}

TEST_F(CFamilyInfoTest, LoadFailuresPassOnWithPlace) {
    const CVellError missing = test::CatchError([&] { Load(dir_.Str()); });
    EXPECT_EQ(missing.Number(), 53);
    const CVellError dup = test::CatchError([&] { LoadText("[Kestrel]\r\n[kestrel]\r\n"); });
    EXPECT_EQ(dup.Number(), 457);
    EXPECT_EQ(dup.LineNumber(), 2);
}
