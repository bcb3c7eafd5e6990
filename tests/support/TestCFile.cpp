#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CFile.h"

using namespace vellcfgrdr;
using test::CatchError;
namespace fs = std::filesystem;

namespace {

class CFileTest : public ::testing::Test {
  protected:
    std::string ReadRaw() const { return test::ReadBytes(path_); }

    test::TempDir dir_;
    const std::string path_ = dir_.File("t.txt");
};

}  // namespace

TEST_F(CFileTest, WritesWindows1252WithCrLfAndReadsItBack) {
    CFile f;
    f.OpenForWrite(path_);
    f.WriteLine("first");
    f.WriteText("caf\xC3\xA9");    // é
    f.WriteLine(" \xE2\x82\xAC");  // €
    EXPECT_TRUE(f.AtEnd());
    f.CloseFile();
    EXPECT_EQ(ReadRaw(), "first\r\ncaf\xE9 \x80\r\n");

    f.OpenForRead(path_);
    EXPECT_FALSE(f.AtEnd());
    EXPECT_EQ(f.ReadLine(), "first");
    EXPECT_EQ(f.ReadLine(), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_TRUE(f.AtEnd());
    const CVellError e = CatchError([&] { f.ReadLine(); });
    EXPECT_EQ(e.Number(), ErrNum::kPastEnd);
    EXPECT_EQ(e.Source(), "VellCfgRdr > File.ReadLine");

    // Appending keeps, writing truncates; closing twice is harmless.
    f.OpenForAppend(path_);
    f.WriteLine("new");
    f.CloseFile();
    f.CloseFile();
    EXPECT_EQ(ReadRaw(), "first\r\ncaf\xE9 \x80\r\nnew\r\n");
    {
        // A move hands the open file over; the last owner's end closes it.
        CFile a;
        a.OpenForWrite(path_);
        CFile b(std::move(a));
        EXPECT_FALSE(a.IsOpen());
        EXPECT_TRUE(b.IsOpen());
        b.WriteLine("kept");
        CFile c;
        c = std::move(b);
        c.WriteText("!");
    }
    EXPECT_EQ(ReadRaw(), "kept\r\n!");
}

TEST_F(CFileTest, LinesEndAtLineFeedOnly) {
    dir_.Write("t.txt", std::string("a\r\nb\n\nc\rd\r\n\0z", 13));
    CFile f;
    f.OpenForRead(path_);
    EXPECT_EQ(f.ReadLine(), "a");
    EXPECT_EQ(f.ReadLine(), "b");
    EXPECT_EQ(f.ReadLine(), "");
    EXPECT_EQ(f.ReadLine(), "c\rd");
    EXPECT_FALSE(f.AtEnd());
    EXPECT_EQ(f.ReadLine(), std::string("\0z", 2));  // last line without a line end
    EXPECT_TRUE(f.AtEnd());

    dir_.Write("t.txt", "");
    f.OpenForRead(path_);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(CatchError([&] { f.ReadLine(); }).Number(), ErrNum::kPastEnd);
}

TEST_F(CFileTest, OpenFailuresAreNumbered) {
    CFile f;
    const CVellError missing = CatchError([&] { f.OpenForRead(dir_.File("none.txt")); });
    EXPECT_EQ(missing.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(missing.Description(), "File not found - " + dir_.File("none.txt"));
    EXPECT_EQ(missing.Source(), "VellCfgRdr > File.OpenForRead");
    EXPECT_EQ(CatchError([&] { f.OpenForWrite(dir_.File("no/t.txt")); }).Number(),
              ErrNum::kFileNotFound);
    EXPECT_EQ(CatchError([&] { f.OpenForRead(dir_.Str()); }).Number(), ErrNum::kPathFileAccess);
    EXPECT_EQ(CatchError([&] { f.OpenForWrite(dir_.Str()); }).Number(), ErrNum::kPathFileAccess);
    EXPECT_FALSE(f.IsOpen());
    if (::geteuid() != 0) {
        dir_.Write("t.txt", "secret");
        fs::permissions(path_, fs::perms::none);
        EXPECT_EQ(CatchError([&] { f.OpenForRead(path_); }).Number(), ErrNum::kPermission);
    }
}

TEST_F(CFileTest, MisuseAndWriteFailuresRaise) {
    CFile f;
    EXPECT_EQ(CatchError([&] { f.ReadLine(); }).Number(), ErrNum::kBadFileName);
    EXPECT_EQ(CatchError([&] { f.AtEnd(); }).Number(), ErrNum::kBadFileName);
    dir_.Write("t.txt", "x\n");
    f.OpenForRead(path_);
    EXPECT_EQ(CatchError([&] { f.WriteLine("y"); }).Number(), ErrNum::kBadFileName);

    if (fs::exists("/dev/full")) {
        f.OpenForWrite("/dev/full");
        f.WriteLine("buffered until the close");
        const CVellError full = CatchError([&] { f.CloseFile(); });
        EXPECT_EQ(full.Number(), ErrNum::kDiskFull);
        EXPECT_EQ(full.Source(), "VellCfgRdr > File.CloseFile");
        EXPECT_FALSE(f.IsOpen());
    }
}
