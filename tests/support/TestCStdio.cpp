#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CStdio.h"

using namespace vellcfgrdr;
using test::CatchError;

TEST(CStdio, LoadTextFileDecodesByByteOrderMark) {
    test::TempDir dir;
    const auto load = [&](const std::string& bytes) {
        return CStdio::LoadTextFile(dir.Write("t", bytes));
    };
    const std::string bom8 = "\xEF\xBB\xBF", bom16 = "\xFF\xFE";
    EXPECT_EQ(load(bom16 + std::string("A\0\xE9\0\r\0\n\0", 8)), "Aé\r\n");
    EXPECT_EQ(load(std::string("\xFE\xFF\0A\0\xE9\x20\xAC\0\n", 10)), "Aé€\n");
    EXPECT_EQ(load(bom8 + "café"), "café");
    // Without a mark the one rule for outside bytes (CUtf8::FromExternal).
    EXPECT_EQ(load("é \xE9\x80"), "é é€");
    EXPECT_EQ(load(bom8 + "\xE9t\xC3\xA9"), "été");
    EXPECT_EQ(load(""), "");
}

TEST(CStdio, SaveTextFileWritesWindows1252WithoutLineEnd) {
    test::TempDir dir;
    const std::string path = dir.File("out.txt");
    CStdio::SaveTextFile(path, "first version that is longer");
    CStdio::SaveTextFile(path, "café €\r\nline ✓");
    EXPECT_EQ(test::ReadBytes(path), "caf\xE9 \x80\r\nline ?");
    EXPECT_EQ(CStdio::LoadTextFile(path), "café €\r\nline ?");

    const CVellError e = CatchError([&] { CStdio::SaveTextFile(dir.File("no/x.txt"), "x"); });
    EXPECT_EQ(e.Number(), ErrNum::kPathNotFound);  // the folder is what is missing
    EXPECT_EQ(e.Source(), "VellCfgRdr > FileWriter.Open");
}

// Over the size limit: tests/support/TestCInputFile.cpp.
TEST(CStdio, ReadBinFileReturnsEveryByte) {
    test::TempDir dir;
    const std::string bytes("\0\x01\xFF\r\n\xFE", 6);
    std::vector<uint8_t> out{9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(CStdio::ReadBinFile(dir.Write("bin", bytes), out), 6);
    EXPECT_EQ(std::string(out.begin(), out.end()), bytes);
    EXPECT_EQ(CStdio::ReadBinFile(dir.Write("empty", ""), out), 0);
    EXPECT_TRUE(out.empty());

    const CVellError e = CatchError([&] { CStdio::ReadBinFile(dir.File("missing"), out); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.ReadBinFile");
}
