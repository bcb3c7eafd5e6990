// The reading helpers refuse what is not a regular file within the limit.
// A folder, a link loop, a missing file and files or folders that cannot be
// read are checked with their whole texts through the tool
// (tests/cli/TestCli.cpp, InputsThatCannotBeReadSayWhatTheyAreAndExit2).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestUtil.h"
#include "support/CInputFile.h"
#include "support/CStdio.h"

using namespace vellcfgrdr;
using test::CatchError;

TEST(CInputFile, OnlyRegularFilesWithinTheLimitAreRead) {
    test::TempDir dir;
    std::vector<uint8_t> bytes;
    // A FIFO once blocked the open for ever.
    const std::string fifo = dir.File("x.slc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CVellError e = CatchError([&] { CStdio::LoadTextFile(fifo); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find(fifo + " is not a regular file (FIFO)"), std::string::npos)
        << e.Description();

    // A device behind a link once filled the memory.
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.l5k"));
    e = CatchError([&] { CStdio::ReadBinFile(dir.File("zero.l5k"), bytes); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find("(character device)"), std::string::npos) << e.Description();

    const std::string file = dir.Write("a.slc", "x");
    e = CatchError([&] { CInputFile::Check(file + "/inside.slc"); });
    EXPECT_EQ(e.Number(), 76);
    EXPECT_NE(e.Description().find("not a folder"), std::string::npos) << e.Description();

    // Over the limit: refused from the size, before reading (the files are
    // sparse); the limit itself is still read.
    const std::string huge = dir.Write("huge.l5k", "");
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(CInputFile::kMaxSize + 1)), 0);
    e = CatchError([&] { CStdio::LoadTextFile(huge); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find(huge + " is larger than 1073741824 bytes"), std::string::npos)
        << e.Description();
    EXPECT_EQ(CatchError([&] { CStdio::ReadBinFile(huge, bytes); }).Number(), 75);
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(CInputFile::kMaxSize)), 0);
    EXPECT_EQ(CInputFile(huge).Size(), CInputFile::kMaxSize);
}
