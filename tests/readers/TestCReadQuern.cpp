// What an image holds is checked by the golden cases made from
// tests/data/quern; these are the ways in that no image of its own can show.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "readers/CReadQuern.h"

using namespace vellcfgrdr;

// The image beside a project, also where the names are in capitals; a file
// of another name read as this format is the image itself.
TEST(Quern, EnvProjectReadsTheCfgBesideItOr53) {
    test::TempDir dir;
    const std::string image = test::ReadBytes(VELL_SOURCE_DIR "/examples/quern/quern_press.cfg");
    dir.Write("p.cfg", image);
    dir.Write("Q.CFG", image);
    dir.Write("q.bak", image);
    for (const char* project : {"p.env", "p.cfg", "Q.ENV", "Q.env", "Q.CFG", "q.bak"}) {
        CIoConfig cfg;
        test::AttachShippedParts(cfg);
        cfg.SetProjectFileName(dir.File(project));
        EXPECT_EQ(CReadQuern().GetIoConfig(cfg), 0) << project;
        EXPECT_EQ(cfg.ModuleList().ModuleNameIn(1, 1, 1, 2), "318DIN0824") << project;
    }
    for (const char* project : {"none.env", "none.CFG", "p.CFG"}) {
        CIoConfig cfg;
        cfg.SetProjectFileName(dir.File(project));
        EXPECT_EQ(CReadQuern().GetIoConfig(cfg), 53) << project;
    }
}
