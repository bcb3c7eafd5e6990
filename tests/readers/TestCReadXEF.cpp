// Exchange files and archives, good and bad, are golden cases
// (tests/data/e2e/cobalt, tests/bad/cobalt), which also check that no work
// folder is left behind; this one needs a temporary folder that is missing.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "readers/CReadXEF.h"

using namespace vellcfgrdr;

TEST(Xef, WorkFolderOfAnArchiveLiesInTheTemporaryFolder) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    test::TempDir tmp;
    test::EnvGuard missing("TMPDIR", (tmp.Str() + "/missing").c_str());
    cfg.SetProjectFileName(VELL_SOURCE_DIR "/examples/cobalt/bottling_hall.zef");
    EXPECT_EQ(test::CatchError([&] { CReadXEF().GetIoConfig(cfg); }).Number(), 76);
}
