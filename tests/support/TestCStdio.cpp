#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CStdio.h"

using namespace vellcfgrdr;
using test::CatchError;

namespace {

class CStdioTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) const {
        return dir_.Write(name, bytes);
    }

    test::TempDir dir_;
};

}  // namespace

TEST_F(CStdioTest, LoadTextFileDecodesByByteOrderMark) {
    const std::string bom8 = "\xEF\xBB\xBF", bom16 = "\xFF\xFE";
    EXPECT_EQ(CStdio::LoadTextFile(Write("u16", bom16 + std::string("A\0\xE9\0\r\0\n\0", 8))),
              "Aé\r\n");
    EXPECT_EQ(
        CStdio::LoadTextFile(Write("u16be", std::string("\xFE\xFF\0A\0\xE9\x20\xAC\0\n", 10))),
        "Aé€\n");
    EXPECT_EQ(CStdio::LoadTextFile(Write("u8", bom8 + "café")), "café");
    EXPECT_EQ(CStdio::LoadTextFile(Write("cp", "caf\xE9 \x80")), "café €");
    // Without a mark the one rule for outside bytes: valid UTF-8 stays,
    // other bytes are Windows-1252, also in one text.
    EXPECT_EQ(CStdio::LoadTextFile(Write("nomark", "é")), "é");
    EXPECT_EQ(CStdio::LoadTextFile(Write("mixed", "é \xE9")), "é é");
    EXPECT_EQ(CStdio::LoadTextFile(Write("u8bad", bom8 + "\xE9t\xC3\xA9")), "été");
    EXPECT_EQ(CStdio::LoadTextFile(Write("empty", "")), "");
}

TEST_F(CStdioTest, SaveTextFileWritesWindows1252WithoutLineEnd) {
    const std::string path = dir_.File("out.txt");
    CStdio::SaveTextFile(path, "first version that is longer");
    CStdio::SaveTextFile(path, "café €\r\nline ✓");
    EXPECT_EQ(test::ReadBytes(path), "caf\xE9 \x80\r\nline ?");
    EXPECT_EQ(CStdio::LoadTextFile(path), "café €\r\nline ?");
}

TEST_F(CStdioTest, ReadBinFileReturnsEveryByte) {
    const std::string bytes("\0\x01\xFF\r\n\xFE", 6);
    std::vector<uint8_t> out{9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(CStdio::ReadBinFile(Write("bin", bytes), out), 6);
    EXPECT_EQ(std::string(out.begin(), out.end()), bytes);
    EXPECT_EQ(CStdio::ReadBinFile(Write("empty", ""), out), 0);
    EXPECT_TRUE(out.empty());

    // Over the input limit: refused from the size, before reading (the file
    // is sparse).
    const std::string huge = Write("huge", "");
    ASSERT_EQ(::truncate(huge.c_str(), int64_t{1} << 31), 0);
    EXPECT_EQ(CatchError([&] { CStdio::ReadBinFile(huge, out); }).Number(),
              ErrNum::kPathFileAccess);
}

TEST_F(CStdioTest, FailuresCarryNumberAndProcedure) {
    const std::string missing = dir_.File("missing.txt");
    CVellError e = CatchError([&] { CStdio::LoadTextFile(missing); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.OsError(), ENOENT);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.LoadTextFile(" + missing + ")");

    std::vector<uint8_t> out;
    e = CatchError([&] { CStdio::ReadBinFile(missing, out); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.ReadBinFile");

    e = CatchError([&] { CStdio::LoadTextFile(dir_.Str()); });
    EXPECT_EQ(e.Number(), ErrNum::kPathFileAccess);

    const std::string noFolder = dir_.File("nofolder/x.txt");
    e = CatchError([&] { CStdio::SaveTextFile(noFolder, "x"); });
    EXPECT_EQ(e.Number(), ErrNum::kPathNotFound);  // the folder is what is missing
    EXPECT_EQ(e.Source(), "VellCfgRdr > FileWriter.Open");
}
