#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ModelFixture.h"
#include "core/Enums.h"
#include "readers/CReadDunlinWarden.h"

using namespace vellcfgrdr;

namespace {

// Builds a Warden table word by word, each word high byte first.
class Table {
  public:
    explicit Table(int16_t drops) { Words({0, 0, drops}); }
    Table& Words(std::initializer_list<int> words) {
        for (int w : words) {
            bytes_.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
            bytes_.push_back(static_cast<uint8_t>(w & 0xFF));
        }
        return *this;
    }
    // A drop header; drops of family code above 0 get their extra word.
    Table& Drop(int familyByte, int drop, int bus, int records) {
        Words({0, (familyByte << 8) | drop, 0, bus << 8, records});
        if ((familyByte & 127) > 0) Words({0x7777});
        return *this;
    }
    Table& Record(int rack, int slot, int id, int extension = 0) {
        Words({(rack << 8) | slot, id, 1, 2, 3, 4, extension});
        for (int i = 0; i < extension; ++i)
            Words({0x5555});
        return *this;
    }
    Table& Garnet(int g0, int g1 = 0) {
        Words({g0, g1, 0});
        if ((g1 >> 8) > 0 && (g1 & 0xFF) > 0) Words({0x6666});
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

class WardenTest : public ::testing::Test {
  protected:
    WardenTest() {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetPlcFamily(plcGarnetSeries);
    }
    int32_t Parse(const Table& t) { return CReadDunlinWarden().ParseWarden(t.Bytes(), cfg_); }
    int32_t Parse(const std::vector<uint8_t>& bytes) {
        return CReadDunlinWarden().ParseWarden(bytes, cfg_);
    }
    std::string At(int bus, int drop, int rack, int slot) const {
        return cfg_.ModuleList().ModuleNameIn(bus, drop, rack, slot);
    }
    const CCfgDrop* Drop(int bus, int drop) const { return cfg_.DropList().DropByKey(bus, drop); }

    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

const std::string kWarning = "Cannot read all Warden modules.";

}  // namespace

TEST_F(WardenTest, DropsAndModulesOfBothRecordKinds) {
    Table t(3);
    t.Drop(1, 2, 1, 2).Record(1, 1, 101).Record(1, 3, 201, 3);
    t.Drop(0, 4, 1, 2).Garnet(0x1265).Garnet(0x1300 | 0x66, 0x0101);  // g1 with both bytes set
    t.Drop(0x82, 3, 1, 1).Record(2, 4, 401);                          // family code 2, top bit set
    EXPECT_EQ(Parse(t), 0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();

    ASSERT_NE(Drop(1, 2), nullptr);
    EXPECT_EQ(Drop(1, 2)->IoFamily(), plcKestrel);
    EXPECT_EQ(At(1, 2, 1, 1), "318DIN0824");
    EXPECT_EQ(At(1, 2, 1, 3), "318DOU0824T");
    EXPECT_EQ(Drop(1, 4)->IoFamily(), plcGarnetSeries);
    EXPECT_EQ(At(1, 4, 1, 2), "GRSDIN0824");  // code 0x65
    EXPECT_EQ(At(1, 4, 1, 3), "GRSDIN1624");
    // Family code 2: the drop number is bus x 256 + drop.
    EXPECT_EQ(Drop(1, 3), nullptr);
    ASSERT_NE(Drop(1, 259), nullptr);
    EXPECT_EQ(At(1, 259, 2, 4), "318AIN0820");
    EXPECT_EQ(cfg_.DropList().Count(), 3);
}

TEST_F(WardenTest, EmptyTableCreatesNothing) {
    EXPECT_EQ(Parse(Table(0)), 0);
    EXPECT_EQ(Parse(Table(-3)), 0);
    EXPECT_EQ(cfg_.DropList().Count(), 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(WardenTest, SorrelBitMakesASorrelDrop) {
    Table t(1);
    t.Drop(1, 5, 2, 2).Record(1, 1, 0x2000 | 102).Record(1, 2, 202);
    EXPECT_EQ(Parse(t), 0);
    EXPECT_EQ(Drop(2, 5)->IoFamily(), plcSorrel);
    EXPECT_EQ(At(2, 5, 1, 1), "SRLDIN1624");
    EXPECT_EQ(At(2, 5, 1, 2), "SRLDOU1624T");
}

TEST_F(WardenTest, GarnetDcpCodeAndRecordsWithoutPlace) {
    Table t(1);
    t.Drop(0, 7, 0, 2).Garnet(0x3581).Garnet(0x0065);  // rack 0: no module, family stays
    EXPECT_EQ(Parse(t), 0);
    // The later record resets the drop's family; the DCP name stays.
    EXPECT_EQ(Drop(0, 7)->Name(), "DCP drop");
    EXPECT_EQ(cfg_.ModuleList().Count(), 1);
    EXPECT_EQ(At(0, 7, 3, 5), "ModuleID_129");

    CIoConfig other;
    test::AttachShippedParts(other);
    other.SetPlcFamily(plcGarnetSeries);
    Table dcp(1);
    dcp.Drop(0, 1, 0, 1).Garnet(0x3581);
    EXPECT_EQ(CReadDunlinWarden().ParseWarden(dcp.Bytes(), other), 0);
    EXPECT_EQ(other.DropList().DropByKey(0, 1)->Name(), "DCP drop");
    EXPECT_EQ(other.DropList().DropByKey(0, 1)->IoFamily(), plcGarnetSeries);
}

// A bad record is consumed whole: the drop's other modules and the next
// drop header are still read where they are.
TEST_F(WardenTest, BadRecordsWarnOnceAndFailTheirDrop) {
    Table t(3);
    t.Drop(1, 1, 1, 3).Record(0, 1, 101, 2).Record(1, 32, 101).Record(1, 2, 102);
    t.Drop(1, 2, 1, 1).Record(1, 0, 101);
    t.Drop(1, 3, 1, 1).Record(1, 1, 103);
    EXPECT_EQ(Parse(t), 321);
    EXPECT_EQ(messages_, std::vector<std::string>{kWarning});
    EXPECT_EQ(At(1, 1, 1, 2), "318DIN1624");
    EXPECT_EQ(At(1, 3, 1, 1), "318DIN3224");
    EXPECT_EQ(cfg_.ModuleList().Count(), 2);
    EXPECT_EQ(cfg_.DropList().Count(), 3);
}

TEST_F(WardenTest, TruncatedAndHostileTables) {
    // Shorter than its header.
    EXPECT_EQ(Parse(std::vector<uint8_t>{0, 0, 0}), 62);
    EXPECT_EQ(Parse(std::vector<uint8_t>{}), 62);
    // 32767 drops announced, one present: the table ends inside a header.
    Table many(32767);
    many.Drop(1, 1, 1, 1).Record(1, 1, 101);
    EXPECT_EQ(Parse(many), 62);
    EXPECT_EQ(At(1, 1, 1, 1), "318DIN0824");
    EXPECT_EQ(messages_, std::vector<std::string>(3, kWarning));  // once per parse

    // Records claiming more words than there are: the drop fails, once.
    messages_.clear();
    Table ext(1);
    ext.Drop(1, 9, 1, 2).Words({0x0101, 101, 0, 0, 0, 0, 0x00FF, 1, 2});
    EXPECT_EQ(Parse(ext), 321);
    EXPECT_EQ(messages_, std::vector<std::string>{kWarning});
    Table records(1);
    records.Drop(0, 9, 2, 32767).Garnet(0x1165);
    EXPECT_EQ(Parse(records), 321);
    EXPECT_EQ(At(2, 9, 1, 1), "GRSDIN0824");

    // An odd trailing byte is no word.
    std::vector<uint8_t> odd = Table(0).Bytes();
    odd.push_back(0xAB);
    EXPECT_EQ(Parse(odd), 0);
}

TEST_F(WardenTest, ByteStringOverloadReadsTheSameTable) {
    Table t(1);
    t.Drop(1, 2, 1, 1).Record(1, 1, 101);
    const std::string text(t.Bytes().begin(), t.Bytes().end());
    EXPECT_EQ(CReadDunlinWarden().ParseWarden(std::string_view(text), cfg_), 0);
    EXPECT_EQ(At(1, 2, 1, 1), "318DIN0824");
}
