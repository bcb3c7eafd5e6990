// What the tool's output tests (tests/cli/TestCli.cpp) leave to the helper:
// the mode of a new file, chains of links and a writer given up. A replaced
// file's mode without its special bits, a link, a FIFO, the null device, a
// missing folder and a folder as output are checked there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestUtil.h"
#include "support/CFileWriter.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

TEST(CFileWriter, NewFilesLinksAndAWriterGivenUp) {
    test::TempDir dir;
    const mode_t mask = ::umask(022);
    CFileWriter::WriteFile(dir.File("new.xml"), "x", CFileWriter::Options{0666, true, true});
    ::umask(mask);
    EXPECT_EQ(test::ModeOf(dir.File("new.xml")), 0644u);

    // The last target of a chain of links is replaced, a dangling link's made.
    const std::string target = dir.Write("real.xml", "old");
    fs::create_symlink("real.xml", dir.File("link.xml"));
    fs::create_symlink(dir.File("link.xml"), dir.File("link2.xml"));
    CFileWriter::WriteFile(dir.File("link2.xml"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link2.xml")));
    EXPECT_EQ(test::ReadBytes(target), "new");
    fs::create_symlink("made.xml", dir.File("dangling.xml"));
    CFileWriter::WriteFile(dir.File("dangling.xml"), "made");
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.xml")));
    EXPECT_EQ(test::ReadBytes(dir.File("made.xml")), "made");

    fs::create_symlink("loop2", dir.File("loop1"));
    fs::create_symlink("loop1", dir.File("loop2"));
    const CVellError e = test::CatchError([&] { CFileWriter::WriteFile(dir.File("loop1"), "x"); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find("loop"), std::string::npos) << e.Description();

    // Given up before Commit: the old file as it was, no temporary left.
    {
        CFileWriter writer(target);
        writer.Write("half of the new");
        EXPECT_TRUE(fs::exists(writer.TempPath()));
    }
    EXPECT_EQ(test::ReadBytes(target), "new");
    EXPECT_EQ(test::NamesIn(dir.Path()),
              (std::vector<std::string>{"dangling.xml", "link.xml", "link2.xml", "loop1", "loop2",
                                        "made.xml", "new.xml", "real.xml"}));
}
