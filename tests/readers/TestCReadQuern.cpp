#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadQuern.h"

using namespace vellcfgrdr;

namespace {

// A Quern image: version, the 128 configuration words, and an I/O map table
// whose words are given high byte first as the Warden parser reads them
// (stored low byte first, as in the file).
struct Image {
    int32_t version = 101;
    std::vector<int16_t> words = std::vector<int16_t>(128, 0);
    std::vector<int> table;  // after the length word
    int32_t tablePos = 176;
    int lengthWord = -1;  // -1: the real length

    Image() {
        words[0] = 2050;  // a Garnet controller
        words[41] = 176;
        words[42] = 6;
    }
    std::string Bytes() const {
        std::string b;
        const auto put16 = [&](int w) {
            b.push_back(static_cast<char>(w & 0xFF));
            b.push_back(static_cast<char>((w >> 8) & 0xFF));
        };
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<char>((static_cast<uint32_t>(version) >> (8 * i)) & 0xFF));
        b.resize(292, '\0');
        for (int16_t w : words)
            put16(w);
        if (!table.empty() || lengthWord >= 0) {
            b.resize(static_cast<size_t>((tablePos + 98) * 2), '\0');
            put16(lengthWord >= 0 ? lengthWord : static_cast<int>(table.size()) + 1);
            for (int w : table)
                put16(w);
        }
        return b;
    }
};

// Two words of table header, the drop count, then one Kestrel drop with one
// module.
std::vector<int> OneDrop() {
    return {0, 1, 0, (1 << 8) | 2, 0, 1 << 8, 1, 0, (1 << 8) | 3, 101, 0, 0, 0, 0, 0};
}

class QuernTest : public ::testing::Test {
  protected:
    QuernTest() {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
    }
    int32_t Read(const Image& image, const std::string& given = "p.cfg") {
        dir_.Write("p.cfg", image.Bytes());
        cfg_.SetProjectFileName(dir_.File(given));
        return CReadQuern().GetIoConfig(cfg_);
    }
    int32_t ReadBytes(const std::string& bytes) {
        dir_.Write("b.cfg", bytes);
        cfg_.SetProjectFileName(dir_.File("b.cfg"));
        return CReadQuern().GetIoConfig(cfg_);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(QuernTest, EnvProjectReadsTheCfgBesideIt) {
    Image image;
    image.table = OneDrop();
    EXPECT_EQ(Read(image, "p.env"), 0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.PlcName(), cfg_.RequirePartMapping().ToPartRef("GRS-T130"));  // type 10
    EXPECT_TRUE(cfg_.RequirePartInfo().PartExists(cfg_.PlcName(), true));
    EXPECT_EQ(cfg_.PlcFamily(), plcGarnetSeries);
    EXPECT_EQ(cfg_.ModuleList().ModuleNameIn(1, 2, 1, 3), "318DIN0824");
}

TEST_F(QuernTest, MissingCfgIs53) {
    cfg_.SetProjectFileName(dir_.File("none.env"));
    EXPECT_EQ(CReadQuern().GetIoConfig(cfg_), 53);
}

TEST_F(QuernTest, VersionBelow101IsRefused) {
    Image image;
    image.version = 100;
    EXPECT_EQ(Read(image), 321);
    EXPECT_EQ(messages_, std::vector<std::string>{"Quern Version must be 101 or higher"});
    EXPECT_EQ(cfg_.PlcFamily(), plcNone);
}

TEST_F(QuernTest, UnknownProcessorIs14002) {
    Image image;
    image.words[0] = 2162;  // type 86, no family
    image.table = OneDrop();
    EXPECT_EQ(Read(image), 14002);
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Invalid or unsupported PLC family : Tessel IEC Runtime"});
    EXPECT_EQ(cfg_.DropList().Count(), 0);
}

TEST_F(QuernTest, TableIsReadOnlyWhenThereIsOne) {
    Image none;
    none.table = OneDrop();
    none.words[41] = 0;
    EXPECT_EQ(Read(none), 0);
    EXPECT_EQ(cfg_.DropList().Count(), 0);
    EXPECT_EQ(cfg_.PlcName(), cfg_.RequirePartMapping().ToPartRef("GRS-T130"));

    Image old;
    old.table = OneDrop();
    old.words[42] = 5;
    EXPECT_EQ(Read(old), 0);
    EXPECT_EQ(cfg_.DropList().Count(), 0);

    Image shortTable;
    shortTable.table = OneDrop();
    shortTable.lengthWord = 6;
    EXPECT_EQ(Read(shortTable), 0);
    EXPECT_EQ(cfg_.DropList().Count(), 0);
}

TEST_F(QuernTest, BrokenImagesGiveAStatus) {
    const std::string good = [] {
        Image i;
        i.table = OneDrop();
        return i.Bytes();
    }();
    EXPECT_EQ(ReadBytes(good.substr(0, 3)), 321);  // shorter than the version
    EXPECT_EQ(messages_, std::vector<std::string>{"Unsupported or unknown file format: " +
                                                  dir_.File("b.cfg")});
    EXPECT_EQ(ReadBytes(good.substr(0, 400)), 321);              // inside the words
    EXPECT_EQ(ReadBytes(good.substr(0, good.size() - 2)), 321);  // table cut

    Image beyond;
    beyond.words[41] = 30000;  // table offset past the end
    EXPECT_EQ(ReadBytes(beyond.Bytes()), 321);
    Image negative;
    negative.words[41] = -200;
    EXPECT_EQ(ReadBytes(negative.Bytes()), 321);
    Image longer;
    longer.table = OneDrop();
    longer.lengthWord = 32767;
    EXPECT_EQ(ReadBytes(longer.Bytes()), 321);

    // The table's own failures are the Warden parser's status.
    Image drops;
    drops.table = OneDrop();
    drops.table[1] = 32767;
    EXPECT_EQ(ReadBytes(drops.Bytes()), 62);
}
