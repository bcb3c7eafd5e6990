#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "parts/CVellPartDb.h"

using namespace vellcfgrdr;
using vellcfgrdr::test::TempDir;

namespace {

class CVellPartDbTest : public ::testing::Test {
  protected:
    CVellPartDbTest() { test::RecordMessages(db_, messages_); }

    TempDir dir_;
    CVellPartDb db_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(CVellPartDbTest, RelaysMemberMessagesButNotErrorReports) {
    dir_.Write("FamilyInfo.txt", "[Kestrel]\r\nMinSlot=abc\r\n");
    dir_.Write("PartDescriptions.txt",
               test::PartFile({"Kestrel|Module|DiscreteIn|A1|1|1|0|||x|",
                               "Kestrel|Module|DiscreteIn|A-1|2|1|0|||x|"}));
    dir_.Write("PartInfo.sup", "");
    dir_.Write("PartMapping.txt", "B1\tA1\r\n");
    db_.Init(dir_.Str());
    EXPECT_EQ(messages_, std::vector<std::string>{"Duplicate part >A-1<|1|ReadPartDescriptions"});

    // An error report of a member stays inside.
    messages_.clear();
    EXPECT_EQ(db_.FamilyInfo()->MinSlot(plcKestrel), 0);
    EXPECT_TRUE(messages_.empty());

    // Every member is relayed; an empty source becomes the facade's name.
    dynamic_cast<const CFamilyInfo&>(*db_.FamilyInfo())
        .EvtInfoMessage.Raise("one", eMsgWarning, "");
    dynamic_cast<const CPartInfo&>(*db_.PartInfo()).EvtInfoMessage.Raise("two", eMsgInfo, "X");
    dynamic_cast<const CPartMapping&>(*db_.PartMapping())
        .EvtInfoMessage.Raise("three", eMsgPlain, "");
    EXPECT_EQ(messages_,
              (std::vector<std::string>{"one|2|CVellPartDb", "two|3|X", "three|0|CVellPartDb"}));
}

TEST(CVellPartDb, MembersOutliveTheFacadeSafely) {
    std::shared_ptr<const IFamilyInfo> family;
    {
        CVellPartDb db;
        family = db.FamilyInfo();
    }
    // The facade's handler left with it: nothing to relay to, nothing to crash.
    dynamic_cast<const CFamilyInfo&>(*family).EvtInfoMessage.Raise("late", eMsgWarning, "");
    EXPECT_EQ(family->DefaultRack(plcHeron, 1), "generic");
}

TEST_F(CVellPartDbTest, InitPassesTheFirstFailureOnUnchanged) {
    const CVellError alone = test::CatchError([&] { CFamilyInfo().Init(dir_.Str()); });
    const CVellError viaDb = test::CatchError([&] { db_.Init(dir_.Str()); });
    EXPECT_EQ(viaDb.Number(), alone.Number());
    EXPECT_EQ(viaDb.Source(), alone.Source());
    EXPECT_EQ(viaDb.Description(), alone.Description());

    // The part information fails next; the mapping is not reached.
    dir_.Write("FamilyInfo.txt", "[Kestrel]\r\n");
    dir_.Write("PartMapping.txt", "B1\tA1\r\n");
    EXPECT_EQ(test::CatchError([&] { db_.Init(dir_.Str()); }).Number(), 53);
    EXPECT_EQ(db_.PartMapping()->ToPartRef("B1"), "B1");
}
