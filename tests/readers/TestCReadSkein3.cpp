#include <gtest/gtest.h>

#include <set>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadBrisk7.h"
#include "readers/CReadSkein3.h"

using namespace vellcfgrdr;

namespace {

// A Skein-3 image laid out as scripts/gen_brisk_image.py lays it out: the
// Brisk7 signature, the base address at 10, the segment marker at 16, the
// segment start marker at 32 (segment at 58, descriptors at 142 and 146),
// the module list from 160 on and the extension list after it.
struct Skein3Image {
    int16_t base = 0x2000;
    std::string modules;     // 3-byte records
    std::string extensions;  // 4-byte records
    int segmentMarkerAt = 16;

    void Module(int field, int slot, int typeByte) {
        modules += {0, static_cast<char>(typeByte), static_cast<char>(field << 3 | slot)};
    }
    void Extension(int field, int slot, int info) {
        extensions += {static_cast<char>(info & 0xFF), static_cast<char>(info >> 8),
                       static_cast<char>(field << 3 | slot), 0};
    }
    std::string Bytes() const {
        std::string b(160, '\0');
        b.replace(0, 4, "\xDD\xDD\x77\x77");
        b[10] = static_cast<char>(base & 0xFF);
        b[11] = static_cast<char>(base >> 8);
        b.replace(segmentMarkerAt, 4, "\xAA\xAA\x55\x55");
        b.replace(32, 4, "\xCC\xCC\x33\x33");
        const auto descriptor = [&](size_t at, size_t count, int size, size_t offset) {
            const int address = static_cast<int>(offset) - 58 + base;
            b[at] = static_cast<char>(count);
            b[at + 1] = static_cast<char>(size);
            b[at + 2] = static_cast<char>(address & 0xFF);
            b[at + 3] = static_cast<char>(address >> 8);
        };
        descriptor(142, modules.size() / 3, 3, 160);
        descriptor(146, extensions.size() / 4, 4, 160 + modules.size());
        return b + modules + extensions + std::string(16, '\0');
    }
};

std::span<const uint8_t> Span(const std::string& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

class Skein3Test : public ::testing::Test {
  protected:
    int32_t Read(const std::string& bytes) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.bin", bytes));
        return CReadSkein3().GetIOmapSkein3(cfg_, Span(bytes));
    }
    std::string At(int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, 1, rack, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

// The type codes are fixed by the image format; the names must be parts of
// the shipped table so that no module of an image comes out unknown.
TEST(Skein3Catalogue, CodesAreFixedAndNamesAreShippedParts) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    const IPartInfo& parts = cfg.RequirePartInfo();
    std::set<std::pair<int, int>> keys;
    std::map<int, std::set<int>> subcodes;
    for (const CReadSkein3::CatalogueRow& row : CReadSkein3::Catalogue()) {
        EXPECT_TRUE(keys.insert({row.code, row.subcode}).second) << row.name;
        subcodes[row.code].insert(row.subcode);
        const std::string name = row.name;
        if (name.starts_with("Generique")) continue;
        EXPECT_EQ(parts.PlcFamily(name), plcBrisk7) << name;
        EXPECT_EQ(parts.PartType(name), ptModule) << name;
        EXPECT_FALSE(parts.PartNeedsResolution(name)) << name;
    }
    for (int code = 0x01; code <= 0x3B; ++code)
        EXPECT_EQ(subcodes[code], std::set<int>{0}) << code;
    EXPECT_EQ(subcodes[0x3E],
              (std::set<int>{0, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0xB0, 0xB1, 0xB2}));
    EXPECT_EQ(subcodes[0x3F],
              (std::set<int>{0,    0x20, 0x21, 0x22, 0x41, 0x42, 0x43, 0x44, 0x60, 0x61,
                             0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89}));
    EXPECT_EQ(subcodes.size(), 0x3Bu + 2);
    EXPECT_EQ(CReadSkein3::PartOf(0x3E, 0), "Generique 62");
    EXPECT_EQ(CReadSkein3::PartOf(0x3F, 0), "Generique 63");
    EXPECT_EQ(CReadSkein3::PartOf(0x3C, 0), "");
}

TEST(Skein3Catalogue, RackFields) {
    EXPECT_EQ(CReadSkein3::RackOfField(0), 1);
    EXPECT_EQ(CReadSkein3::RackOfField(1), -1);
    EXPECT_EQ(CReadSkein3::RackOfField(2), 2);
    EXPECT_EQ(CReadSkein3::RackOfField(3), -2);
    EXPECT_EQ(CReadSkein3::RackOfField(4), 3);
    EXPECT_EQ(CReadSkein3::RackOfField(15), 14);
}

TEST_F(Skein3Test, RecordBitsGiveSlotRackAndCode) {
    Skein3Image image;
    image.modules += std::string("\x00\x41\x13", 3);  // code 1 under the top bits, rack 2 slot 3
    image.modules += std::string("\x00\x40\x04", 3);  // code 0: an empty position
    image.modules += std::string("\x00\x02\x0B", 3);  // rack field 1: half position of rack 1
    EXPECT_EQ(Read(image.Bytes()), 0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(At(2, 3), "BRKDIN0824");
    EXPECT_EQ(At(1, 4), "");
    EXPECT_EQ(At(1, 3), "BRKDIN3224");  // BRKDIN1624 seen in the half position
    EXPECT_EQ(cfg_.PlcFamily(), plcBrisk7);
    EXPECT_EQ(cfg_.PlcName(), "PMK*");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 2), "BRKRKX0801");
}

TEST_F(Skein3Test, IntelligentModulesTakeTheirSubcodeFromTheExtensionList) {
    Skein3Image image;
    image.Module(0, 1, 0x3E);
    image.Module(0, 2, 0x3E);
    image.Module(2, 2, 0x3F);
    image.Extension(0, 1, 0x31);
    image.Extension(2, 2, 0x89);
    image.Extension(2, 2, 0x20);  // the first match counts
    EXPECT_EQ(Read(image.Bytes()), 0);
    EXPECT_EQ(At(1, 1), "BRKSPC0200");
    EXPECT_EQ(At(1, 2), "Generique62");
    EXPECT_EQ(At(2, 2), "BRKMOT1200");
}

TEST_F(Skein3Test, UnresolvedVirtualModuleIsReportedAndTheRestPlaced) {
    Skein3Image image;
    image.Module(3, 5, 0x04);  // BRKDIN6424 in the half position of rack 2
    image.Module(0, 0, 0x01);
    EXPECT_EQ(Read(image.Bytes()), 14003);
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "Cannot resolve virtual module BRKDIN6424 in rack 2, slot 5"});
    EXPECT_EQ(At(1, 0), "BRKDIN0824");
    EXPECT_EQ(At(2, 5), "");
}

TEST_F(Skein3Test, SegmentMarkerMissingOrAtTheStart) {
    Skein3Image image;
    image.Module(0, 0, 0x01);
    std::string bytes = image.Bytes();
    bytes.replace(16, 4, std::string(4, '\0'));
    EXPECT_EQ(Read(bytes), 0);
    EXPECT_EQ(cfg_.ModuleList().Count(), 0);
    EXPECT_EQ(cfg_.PlcName(), "PMK*");

    // At offset 0 the marker leaves no room for the base address: the image
    // is read as one without a module list.
    image.segmentMarkerAt = 0;
    CIoConfig other;
    test::AttachShippedParts(other);
    const std::string atStart = image.Bytes();
    EXPECT_FALSE(CReadSkein3::IsSkein3Image(Span(atStart)));
    other.SetProjectFileName(dir_.Write("q.bin", atStart));
    EXPECT_EQ(CReadSkein3().GetIOmapSkein3(other, Span(atStart)), 0);
    EXPECT_EQ(other.ModuleList().Count(), 0);
}

namespace {

// A Brisk7 image holding references: the signature, then per reference its
// slot byte, two filler bytes, the text and a 00 byte.
std::string Brisk7Image(std::initializer_list<std::pair<int, std::string_view>> refs) {
    std::string b("\xDD\xDD\x77\x77", 4);
    b += std::string(12, '\0');
    for (const auto& [slotByte, text] : refs) {
        b += {static_cast<char>(slotByte), 0, 0};
        (b += text) += '\0';
    }
    return b + std::string(4, '\0');
}

class Brisk7Test : public ::testing::Test {
  protected:
    int32_t Read(const std::string& bytes) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.bin", bytes));
        return CReadBrisk7().GetIoConfig(cfg_);
    }
    std::string At(int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, 1, rack, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(Brisk7Test, ImageWithASegmentGoesToTheSkein3Reader) {
    Skein3Image image;
    image.Module(0, 6, 0x01);
    EXPECT_EQ(Read(image.Bytes() + Brisk7Image({{3, "BRKDOU1624T"}})), 0);
    EXPECT_EQ(At(1, 6), "BRKDIN0824");
    EXPECT_EQ(At(1, 2), "");
    EXPECT_EQ(cfg_.BusList().BusByNum(0)->Typename(), "Tbus");
}

TEST_F(Brisk7Test, SlotsFallingBackStartTheNextRack) {
    EXPECT_EQ(Read(Brisk7Image({{2, "BRKDIN1624"},
                                {5, "BRKDOU1624T"},
                                {3, "BRKAIN0820"},
                                {1, "BRKDMX0808"},
                                {0, "BRKAOU0820"}})),
              0);
    EXPECT_EQ(At(1, 1), "BRKDIN1624");
    EXPECT_EQ(At(1, 4), "BRKDOU1624T");
    EXPECT_EQ(At(2, 2), "BRKAIN0820");
    EXPECT_EQ(At(3, 0), "BRKDMX0808");
    EXPECT_EQ(At(4, 0), "BRKAOU0820");
    // No processor reference: the default one, placed with the first module.
    EXPECT_EQ(At(1, skCpu), "PMK*");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "BRKRCK0801");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 4), "BRKRKX0801");
}

TEST_F(Brisk7Test, RackProcessorSupplyAndSkippedReferences) {
    EXPECT_EQ(Read(Brisk7Image({{0, "BRKRCK1201"},
                                {0, "BRKRKX1201"},
                                {0, "PMK 4020"},
                                {1, "BRKPSU0624A"},
                                {0, "brkprg0001"},
                                {0, "BRKMEM0512"},
                                {1, "BRKDIN0824"}})),
              0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 1), "BRKRCK1201");
    EXPECT_EQ(cfg_.RackList().rackName(0, 1, 2), "BRKRKX1201");
    EXPECT_EQ(At(1, skCpu), "PMK*");
    EXPECT_EQ(At(1, skPower), "BRKPSU0624A");
    EXPECT_EQ(At(1, 0), "BRKDIN0824");
    EXPECT_EQ(cfg_.ModuleList().Count(), 3);
}

TEST_F(Brisk7Test, UnknownNamesAreReportedAndStillPlaced) {
    EXPECT_EQ(Read(Brisk7Image({{1, "BRKDOU16AAT"}, {2, "BRKQQQ"}})), 14003);
    EXPECT_EQ(At(1, 0), "BRKDOU16xxT");  // fits the placeholder part
    EXPECT_EQ(At(1, 1), "BRKQQQ");
    EXPECT_EQ(messages_, (std::vector<std::string>{
                             "BRKQQQ is unknown or not supported", "Unknown module: 'BRKQQQ'",
                             "The project could not be imported correctly, please verify!"}));
}

TEST_F(Brisk7Test, RacksBeyondFourteenAreReported) {
    // Slots 7, 0, 7, 0, ...: every 0 opens a rack, and the rack number is
    // checked whenever eight references have filled the rack's slots.
    std::string b = Brisk7Image({});
    for (int i = 0; i < 16; ++i)
        for (char slotByte : {8, 1})
            b += std::string{slotByte, 0, 0} + "BRKDIN0824" + '\0';
    EXPECT_EQ(Read(b), 14003);
    EXPECT_EQ(messages_, (std::vector<std::string>{
                             "Invalid rack number Pos0.1.17", "Invalid rack number 17",
                             "The project could not be imported correctly, please verify!"}));
}
