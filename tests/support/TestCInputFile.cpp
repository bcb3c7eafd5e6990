#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "TestUtil.h"
#include "support/CInputFile.h"
#include "support/CStdio.h"

using namespace vellcfgrdr;
using test::TempDir;
namespace fs = std::filesystem;

namespace {

// The error number that f raises, got in a child process that runs as an
// ordinary user: root reads every file whatever its permissions.
int NumberAsOrdinaryUser(const std::function<void()>& f) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(254);
        try {
            f();
        } catch (const CVellError& e) {
            ::_exit(e.Number() & 0xFF);
        } catch (...) {
            ::_exit(253);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(CInputFile, OnlyRegularFilesAreOpened) {
    TempDir dir;
    const std::string file = dir.Write("a.slc", "start 1747-L532\r\n");
    std::string text;
    CInputFile(file).ReadAll(text);
    EXPECT_EQ(text, "start 1747-L532\r\n");

    // Missing: the path alone, as before.
    CVellError e = test::CatchError([&] { CInputFile::Check(dir.File("none.slc")); });
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), "File not found - " + dir.File("none.slc"));

    e = test::CatchError([&] { CInputFile::Check(dir.Str()); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_EQ(e.Description(),
              "Path/File access error - " + dir.Str() + " is a folder, not a file");

    // A FIFO once blocked the open for ever.
    const std::string fifo = dir.File("x.slc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    e = test::CatchError([&] { CStdio::LoadTextFile(fifo); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find(fifo + " is not a regular file (FIFO)"), std::string::npos)
        << e.Description();

    // A device behind a link once filled the memory.
    fs::create_symlink("/dev/zero", dir.File("zero.l5k"));
    std::vector<uint8_t> bytes;
    e = test::CatchError([&] { CStdio::ReadBinFile(dir.File("zero.l5k"), bytes); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find("(character device)"), std::string::npos) << e.Description();

    fs::create_symlink("loop.slc", dir.File("loop.slc"));
    e = test::CatchError([&] { CInputFile::Check(dir.File("loop.slc")); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find("loop"), std::string::npos) << e.Description();

    e = test::CatchError([&] { CInputFile::Check(file + "/inside.slc"); });
    EXPECT_EQ(e.Number(), 76);
    EXPECT_NE(e.Description().find("not a folder"), std::string::npos) << e.Description();
}

TEST(CInputFile, FilesOverTheLimitAreRefusedBeforeReading) {
    TempDir dir;
    const std::string huge = dir.Write("huge.l5k", "");
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(CInputFile::kMaxSize + 1)), 0);
    const CVellError e = test::CatchError([&] { CStdio::LoadTextFile(huge); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Description().find(huge + " is larger than 1073741824 bytes"), std::string::npos)
        << e.Description();

    const std::string limit = dir.Write("limit.bin", "");
    ASSERT_EQ(::truncate(limit.c_str(), static_cast<off_t>(CInputFile::kMaxSize)), 0);
    EXPECT_EQ(CInputFile(limit).Size(), CInputFile::kMaxSize);
}

TEST(CInputFile, UnreadableFilesAndFoldersSayWhich) {
    TempDir dir;
    ::chmod(dir.Str().c_str(), 0755);
    const std::string closed = dir.Write("closed.slc", "x");
    ::chmod(closed.c_str(), 0);
    fs::create_directory(dir.File("locked"));
    const std::string inside = dir.Write("locked/a.slc", "x");
    ::chmod(dir.File("locked").c_str(), 0700);

    // Checked in the child; the number tells which way it failed.
    EXPECT_EQ(NumberAsOrdinaryUser([&] {
                  const CVellError e = test::CatchError([&] { CInputFile::Check(closed); });
                  if (e.Description() == "Permission denied - " + closed + " cannot be read")
                      throw e;
              }),
              70);
    EXPECT_EQ(NumberAsOrdinaryUser([&] {
                  const CVellError e = test::CatchError([&] { CInputFile::Check(inside); });
                  if (e.Description() ==
                      "Permission denied - " + inside + ": a folder on the way cannot be searched")
                      throw e;
              }),
              70);
}
