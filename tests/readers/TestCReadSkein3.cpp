// Images of both kinds are golden cases made from tests/data/images; these
// check the catalogue against the shipped parts and a call the Brisk7
// reader never makes.
#include <gtest/gtest.h>

#include <set>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadSkein3.h"

using namespace vellcfgrdr;

// The names must be parts of the shipped table, so that no module of an
// image comes out unknown.
TEST(Skein3Catalogue, CodesAreUniqueAndNamesAreShippedParts) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    const IPartInfo& parts = cfg.RequirePartInfo();
    std::set<std::pair<int, int>> keys;
    for (const CReadSkein3::CatalogueRow& row : CReadSkein3::Catalogue()) {
        EXPECT_TRUE(keys.insert({row.code, row.subcode}).second) << row.name;
        const std::string name = row.name;
        if (name.starts_with("Generique")) continue;
        EXPECT_EQ(parts.PlcFamily(name), plcBrisk7) << name;
        EXPECT_EQ(parts.PartType(name), ptModule) << name;
        EXPECT_FALSE(parts.PartNeedsResolution(name)) << name;
    }
}

// At offset 0 the segment marker leaves no room for the base address before
// it: the image is read as one without a module list.
TEST(Skein3, SegmentMarkerAtTheStart) {
    std::string bytes = test::ReadBytes(VELL_TEST_DATA "/e2e/brisk7/skein3_virtual.bin");
    ASSERT_EQ(bytes.substr(16, 4), "\xAA\xAA\x55\x55");
    bytes.replace(16, 4, std::string(4, '\0'));
    bytes.replace(0, 4, "\xAA\xAA\x55\x55");
    const std::span<const uint8_t> image(reinterpret_cast<const uint8_t*>(bytes.data()),
                                         bytes.size());
    EXPECT_FALSE(CReadSkein3::IsSkein3Image(image));
    test::TempDir dir;
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    cfg.SetProjectFileName(dir.Write("p.bin", bytes));
    EXPECT_EQ(CReadSkein3().GetIOmapSkein3(cfg, image), 0);
    EXPECT_EQ(cfg.ModuleList().Count(), 0);
}
