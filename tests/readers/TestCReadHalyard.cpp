// Whole exports are golden cases (tests/data/e2e/halyard, tests/bad/halyard);
// this one nests ten times deeper than the known-bad case, too deep to keep
// as a file.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "readers/CReadHalyard.h"

using namespace vellcfgrdr;

TEST(Halyard, DeepNestingIsSkippedWithoutRecursion) {
    std::string text = "BEGIN PLCConfig\nmodelName = 318CPU2411\n";
    for (int i = 0; i < 200000; ++i)
        text += "BEGIN X\n";
    for (int i = 0; i < 200000; ++i)
        text += "END\n";
    test::TempDir dir;
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    cfg.SetProjectFileName(dir.Write("p.asc", text + "END\n"));
    EXPECT_EQ(CReadHalyard().GetIoConfig(cfg), 0);
}
