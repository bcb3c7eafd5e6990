#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <thread>

#include "TestUtil.h"
#include "support/CFileWriter.h"

using namespace vellcfgrdr;
using test::TempDir;
namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::set<std::string> Names(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(CFileWriter, ReplacesARegularFileKeepingItsModeButNoSpecialBits) {
    TempDir dir;
    const std::string path = dir.Write("out.xml", "old");
    ::chmod(path.c_str(), 06750);
    CFileWriter::WriteFile(path, "new");
    EXPECT_EQ(test::ReadBytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0750u);
    EXPECT_EQ(Names(dir), std::set<std::string>{"out.xml"});

    // A new file gets the asked mode less the umask.
    const mode_t mask = ::umask(022);
    CFileWriter::WriteFile(dir.File("new.xml"), "x", CFileWriter::Options{0666, true, true});
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.File("new.xml")), 0644u);
}

TEST(CFileWriter, ALinkHasItsTargetReplacedNotItself) {
    TempDir dir;
    const std::string target = dir.Write("real.xml", "old");
    fs::create_symlink("real.xml", dir.File("link.xml"));
    fs::create_symlink(dir.File("link.xml"), dir.File("link2.xml"));
    CFileWriter::WriteFile(dir.File("link2.xml"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link2.xml")));
    EXPECT_EQ(test::ReadBytes(target), "new");

    // A dangling link: its target is made.
    fs::create_symlink("made.xml", dir.File("dangling.xml"));
    CFileWriter::WriteFile(dir.File("dangling.xml"), "made");
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.xml")));
    EXPECT_EQ(test::ReadBytes(dir.File("made.xml")), "made");

    fs::create_symlink("loop2", dir.File("loop1"));
    fs::create_symlink("loop1", dir.File("loop2"));
    const CVellError e = test::CatchError([&] { CFileWriter::WriteFile(dir.File("loop1"), "x"); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find("loop"), std::string::npos) << e.Description();
}

TEST(CFileWriter, SpecialFilesAreWrittenInPlace) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] { got = test::ReadBytes(fifo); });
    CFileWriter::WriteFile(fifo, "through the pipe");
    reader.join();
    EXPECT_EQ(got, "through the pipe");
    struct stat st {};
    ::lstat(fifo.c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Names(dir), std::set<std::string>{"pipe"});

    // The null device stays one (when the machine has a real one).
    const bool device = ::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode);
    CFileWriter::WriteFile("/dev/null", "nothing");
    if (device) {
        ::stat("/dev/null", &st);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST(CFileWriter, FailuresLeaveTheOldFileAndNoTemporary) {
    TempDir dir;
    CVellError e = test::CatchError([&] { CFileWriter::WriteFile(dir.File("no/out.xml"), "x"); });
    EXPECT_EQ(e.Number(), 76);
    EXPECT_NE(e.Description().find("does not exist"), std::string::npos) << e.Description();
    EXPECT_EQ(e.Source(), "VellCfgRdr > FileWriter.Open");

    fs::create_directory(dir.File("sub"));
    e = test::CatchError([&] { CFileWriter::WriteFile(dir.File("sub"), "x"); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_EQ(Names(dir), std::set<std::string>{"sub"});

    // A writer given up before Commit leaves the old file as it was.
    const std::string path = dir.Write("keep.xml", "old");
    {
        CFileWriter writer(path);
        writer.Write("half of the new");
        EXPECT_TRUE(fs::exists(writer.TempPath()));
    }
    EXPECT_EQ(test::ReadBytes(path), "old");
    EXPECT_EQ(Names(dir), (std::set<std::string>{"keep.xml", "sub"}));
}
