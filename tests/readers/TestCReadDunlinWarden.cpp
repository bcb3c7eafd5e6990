// The table's content is checked through the Quern golden cases
// (tests/data/quern, tests/data/e2e/quern); these are the edges that only
// the table's other callers (a text column of a Tessel 32 project) reach.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ModelFixture.h"
#include "core/Enums.h"
#include "readers/CReadDunlinWarden.h"

using namespace vellcfgrdr;

TEST(Warden, TablesShorterThanTheirHeaderOrOfOddLength) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    std::vector<std::string> messages;
    test::RecordProblems(cfg, messages);
    cfg.SetPlcFamily(plcGarnetSeries);
    EXPECT_EQ(CReadDunlinWarden().ParseWarden(std::vector<uint8_t>{}, cfg), 62);
    EXPECT_EQ(CReadDunlinWarden().ParseWarden(std::vector<uint8_t>{0, 0, 0}, cfg), 62);
    EXPECT_EQ(messages, std::vector<std::string>(2, "Cannot read all Warden modules."));
    // An odd trailing byte is no word.
    EXPECT_EQ(CReadDunlinWarden().ParseWarden(std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xAB}, cfg),
              0);
    EXPECT_EQ(cfg.DropList().Count(), 0);
}
