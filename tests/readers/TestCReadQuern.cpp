// What an image holds is checked by the golden cases made from
// tests/data/quern; these are the ways in that no image of its own can show.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "readers/CReadQuern.h"

using namespace vellcfgrdr;

TEST(Quern, EnvProjectReadsTheCfgBesideItOr53) {
    test::TempDir dir;
    dir.Write("p.cfg", test::ReadBytes(VELL_SOURCE_DIR "/examples/quern/quern_press.cfg"));
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    cfg.SetProjectFileName(dir.File("p.env"));
    EXPECT_EQ(CReadQuern().GetIoConfig(cfg), 0);
    EXPECT_EQ(cfg.ModuleList().ModuleNameIn(1, 1, 1, 2), "318DIN0824");

    cfg.SetProjectFileName(dir.File("none.env"));
    EXPECT_EQ(CReadQuern().GetIoConfig(cfg), 53);
}
