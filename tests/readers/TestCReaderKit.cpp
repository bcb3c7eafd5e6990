#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "readers/CReaderKit.h"
#include "readers/ReaderRegistry.h"

using namespace vellcfgrdr;

TEST(CReaderKit, OnlyWholeDecimalNumbersInRange) {
    EXPECT_EQ(CReaderKit::ToInt(" 12 ", 0, 20), 12);
    EXPECT_EQ(CReaderKit::ToInt("+7", 0, 20), 7);
    EXPECT_EQ(CReaderKit::ToInt("-2147483648", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(CReaderKit::ToInt("2147483647", INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(CReaderKit::ToInt("0", 0, 0), 0);
    for (const char* bad :
         {"", " ", "-", "+", "2147483648", "-2147483649", "99999999999", "99999999999999999999999",
          "0x10", "&HFFFFFFFF", "NaN", "3.0", "1e3", "12abc", "1 2", "--1"})
        EXPECT_EQ(CReaderKit::ToInt(bad, INT32_MIN, INT32_MAX), std::nullopt) << bad;
    EXPECT_EQ(CReaderKit::ToInt("-1", 0, 10), std::nullopt);
    EXPECT_EQ(CReaderKit::ToInt("11", 0, 10), std::nullopt);
}

TEST(CReaderKit, WarningsNameTheLineAndTurnTheStatusIntoWarnings) {
    CIoConfig cfg;
    std::vector<std::string> messages;
    test::RecordProblems(cfg, messages);
    CReaderKit kit(cfg, "CReadTest");
    EXPECT_EQ(kit.Status(0), 0);
    EXPECT_EQ(kit.LineNumber("4", 0, 9, msgBadSlotNumber, 3, "slot 4 x"), 4);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(kit.LineNumber("40000", 1, 16, msgBadRackNumber, 7, "rack 40000 1746-A7"),
              std::nullopt);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Line 7 skipped: 40000 is not a rack number from 1 to 16: rack 40000 1746-A7");
    EXPECT_EQ(kit.Status(0), ErrNum::kWarnings);
    EXPECT_EQ(kit.Status(ErrNum::kBadFileFormat), ErrNum::kBadFileFormat);

    // A huge line is quoted by its start only.
    kit.SkipLine(msgSlotWithoutModule, 9, std::string(100000, 'x'));
    EXPECT_EQ(messages[1],
              "Line 9 skipped: a slot without a module: " + std::string(80, 'x') + "...");
}

TEST(ReaderRegistry, OneListGivesFormatsReadersAndTheReadmeTable) {
    for (const ReaderDescription* d : ReaderRegistry::Descriptions()) {
        ASSERT_FALSE(d->extensions.empty()) << d->name;
        for (const std::string_view e : d->extensions) {
            const std::string path = "a/B." + CUtf8::ToUpper(e);
            EXPECT_EQ(ReaderRegistry::FileFormatFromName(path), d->format);
            EXPECT_EQ(ReaderRegistry::DescribeFile(path), d);
            EXPECT_NE(ReaderRegistry::CreateReaderFor(path), nullptr);
        }
        EXPECT_NE(ReaderRegistry::CreateReader(d->format), nullptr);
    }
    EXPECT_EQ(ReaderRegistry::CreateReader(pfUndefined), nullptr);

    const std::string readme = test::ReadBytes(VELL_SOURCE_DIR "/README.md");
    const size_t begin = readme.find("<!-- formats -->\n");
    const size_t end = readme.find("<!-- end formats -->");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string shown = readme.substr(begin + 17, end - begin - 17);
    EXPECT_EQ(shown, ReaderRegistry::FormatTable()) << "paste into README.md:\n"
                                                    << ReaderRegistry::FormatTable();
}
