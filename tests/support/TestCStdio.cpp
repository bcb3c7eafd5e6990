#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "component/ErrNum.h"
#include "support/CStdio.h"
#include "vellcfgrdr/CVellError.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

class CStdioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "vell_stdio_XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

CVellError Catch(auto&& f) {
    try {
        f();
    } catch (const CVellError& e) {
        return e;
    }
    ADD_FAILURE() << "no CVellError thrown";
    return CVellError(0, "");
}

}  // namespace

TEST_F(CStdioTest, LoadTextFileDecodesByByteOrderMark) {
    const std::string bom8 = "\xEF\xBB\xBF", bom16 = "\xFF\xFE";
    EXPECT_EQ(CStdio::LoadTextFile(Write("u16", bom16 + std::string("A\0\xE9\0\r\0\n\0", 8))),
              "Aé\r\n");
    EXPECT_EQ(CStdio::LoadTextFile(Write("u8", bom8 + "café")), "café");
    EXPECT_EQ(CStdio::LoadTextFile(Write("cp", "caf\xE9 \x80")), "café €");
    // UTF-8 without a mark is not guessed: it reads as Windows-1252.
    EXPECT_EQ(CStdio::LoadTextFile(Write("nomark", "é")), "Ã©");
    EXPECT_EQ(CStdio::LoadTextFile(Write("empty", "")), "");
}

TEST_F(CStdioTest, SaveTextFileWritesWindows1252WithoutLineEnd) {
    const std::string path = (dir_ / "out.txt").string();
    CStdio::SaveTextFile(path, "first version that is longer");
    CStdio::SaveTextFile(path, "café €\r\nline ✓");
    EXPECT_EQ(Bytes(path), "caf\xE9 \x80\r\nline ?");
    EXPECT_EQ(CStdio::LoadTextFile(path), "café €\r\nline ?");
}

TEST_F(CStdioTest, ReadBinFileReturnsEveryByte) {
    const std::string bytes("\0\x01\xFF\r\n\xFE", 6);
    std::vector<uint8_t> out{9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(CStdio::ReadBinFile(Write("bin", bytes), out), 6);
    EXPECT_EQ(std::string(out.begin(), out.end()), bytes);
    EXPECT_EQ(CStdio::ReadBinFile(Write("empty", ""), out), 0);
    EXPECT_TRUE(out.empty());

    // Too long for the 32-bit length: refused from the size, before reading
    // (the file is sparse).
    const std::string huge = Write("huge", "");
    ASSERT_EQ(::truncate(huge.c_str(), int64_t{1} << 31), 0);
    EXPECT_EQ(Catch([&] { CStdio::ReadBinFile(huge, out); }).Number(), ErrNum::kOverflow);
}

TEST_F(CStdioTest, FailuresCarryNumberAndProcedure) {
    const std::string missing = (dir_ / "missing.txt").string();
    CVellError e = Catch([&] { CStdio::LoadTextFile(missing); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.OsError(), ENOENT);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.LoadTextFile(" + missing + ")");

    std::vector<uint8_t> out;
    e = Catch([&] { CStdio::ReadBinFile(missing, out); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.ReadBinFile");

    e = Catch([&] { CStdio::LoadTextFile(dir_.string()); });
    EXPECT_EQ(e.Number(), ErrNum::kPathFileAccess);

    const std::string noFolder = (dir_ / "nofolder" / "x.txt").string();
    e = Catch([&] { CStdio::SaveTextFile(noFolder, "x"); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Stdio.SaveTextFile(" + noFolder + ")");
}
