#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "component/ErrNum.h"
#include "support/CFile.h"
#include "vellcfgrdr/CVellError.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

CVellError Catch(auto&& f) {
    try {
        f();
    } catch (const CVellError& e) {
        return e;
    }
    ADD_FAILURE() << "no CVellError thrown";
    return CVellError(0, "");
}

class CFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "vellfile_XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        path_ = dir_ + "/t.txt";
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteRaw(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    std::string ReadRaw() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string dir_;
    std::string path_;
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
    const CVellError e = Catch([&] { f.ReadLine(); });
    EXPECT_EQ(e.Number(), ErrNum::kPastEnd);
    EXPECT_EQ(e.Source(), "VellCfgRdr > File.ReadLine");
}

TEST_F(CFileTest, LinesEndAtLineFeedOnly) {
    WriteRaw(std::string("a\r\nb\n\nc\rd\r\n\0z", 13));
    CFile f;
    f.OpenForRead(path_);
    EXPECT_EQ(f.ReadLine(), "a");
    EXPECT_EQ(f.ReadLine(), "b");
    EXPECT_EQ(f.ReadLine(), "");
    EXPECT_EQ(f.ReadLine(), "c\rd");
    EXPECT_FALSE(f.AtEnd());
    EXPECT_EQ(f.ReadLine(), std::string("\0z", 2));  // last line without a line end
    EXPECT_TRUE(f.AtEnd());

    WriteRaw("");
    f.OpenForRead(path_);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(Catch([&] { f.ReadLine(); }).Number(), ErrNum::kPastEnd);
}

TEST_F(CFileTest, AppendKeepsWriteTruncates) {
    WriteRaw("old\r\n");
    CFile f;
    f.OpenForAppend(path_);
    f.WriteLine("new");
    f.CloseFile();
    EXPECT_EQ(ReadRaw(), "old\r\nnew\r\n");
    f.OpenForWrite(path_);
    f.WriteText("x");
    f.CloseFile();
    f.CloseFile();  // harmless when closed
    EXPECT_EQ(ReadRaw(), "x");
}

TEST_F(CFileTest, OpenFailuresAreNumbered) {
    CFile f;
    const CVellError missing = Catch([&] { f.OpenForRead(dir_ + "/none.txt"); });
    EXPECT_EQ(missing.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(missing.Description(), "File not found - " + dir_ + "/none.txt");
    EXPECT_EQ(missing.Source(), "VellCfgRdr > File.OpenForRead");
    EXPECT_EQ(Catch([&] { f.OpenForWrite(dir_ + "/no/t.txt"); }).Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(Catch([&] { f.OpenForRead(dir_); }).Number(), ErrNum::kPathFileAccess);
    EXPECT_EQ(Catch([&] { f.OpenForWrite(dir_); }).Number(), ErrNum::kPathFileAccess);
    EXPECT_FALSE(f.IsOpen());
    if (::geteuid() != 0) {
        WriteRaw("secret");
        fs::permissions(path_, fs::perms::none);
        EXPECT_EQ(Catch([&] { f.OpenForRead(path_); }).Number(), ErrNum::kPermission);
    }
}

TEST_F(CFileTest, MisuseAndWriteFailuresRaise) {
    CFile f;
    EXPECT_EQ(Catch([&] { f.ReadLine(); }).Number(), ErrNum::kBadFileName);
    EXPECT_EQ(Catch([&] { f.AtEnd(); }).Number(), ErrNum::kBadFileName);
    WriteRaw("x\n");
    f.OpenForRead(path_);
    EXPECT_EQ(Catch([&] { f.WriteLine("y"); }).Number(), ErrNum::kBadFileName);

    if (fs::exists("/dev/full")) {
        f.OpenForWrite("/dev/full");
        f.WriteLine("buffered until the close");
        const CVellError full = Catch([&] { f.CloseFile(); });
        EXPECT_EQ(full.Number(), ErrNum::kDiskFull);
        EXPECT_EQ(full.Source(), "VellCfgRdr > File.CloseFile");
        EXPECT_FALSE(f.IsOpen());
    }
}

TEST_F(CFileTest, MovingHandsTheOpenFileOverAndReleaseCloses) {
    {
        CFile a;
        a.OpenForWrite(path_);
        CFile b(std::move(a));
        EXPECT_FALSE(a.IsOpen());
        EXPECT_TRUE(b.IsOpen());
        b.WriteLine("kept");
        CFile c;
        c = std::move(b);
        c.WriteText("!");
    }  // closing flushes
    EXPECT_EQ(ReadRaw(), "kept\r\n!");
}
