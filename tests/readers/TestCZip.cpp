#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <filesystem>

#include "TestUtil.h"
#include "readers/CZip.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    std::string data;
    bool link = false;
    bool stored = false;  // not compressed
};

std::string MakeZip(const std::string& path, const std::vector<Entry>& entries) {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) throw std::runtime_error("zip_open");
    for (const Entry& e : entries) {
        zip_source_t* src = zip_source_buffer(z, e.data.data(), e.data.size(), 0);
        const zip_int64_t i = zip_file_add(z, e.name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (i < 0) throw std::runtime_error("zip_file_add");
        if (e.link)
            zip_file_set_external_attributes(z, static_cast<zip_uint64_t>(i), 0, ZIP_OPSYS_UNIX,
                                             (S_IFLNK | 0777u) << 16);
        if (e.stored) zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) throw std::runtime_error("zip_close");
    return path;
}

// Every name below the folder, temporary files included.
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(e.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(CZip, ExtractsEveryEntryAndOverwrites) {
    test::TempDir dir;
    const std::string zip = MakeZip(dir.File("a.zip"), {{"cobaltpro.xef", "<x/>"},
                                                        {"docs/", ""},
                                                        {"docs\\notes\\n.txt", "n"},
                                                        {"./top.txt", "t"}});
    dir.Write("out/cobaltpro.xef", "old");
    CZip::UnZip(zip, dir.File("out"));
    EXPECT_EQ(test::ReadBytes(dir.File("out/cobaltpro.xef")), "<x/>");
    EXPECT_EQ(test::ReadBytes(dir.File("out/docs/notes/n.txt")), "n");
    EXPECT_EQ(Listing(dir.File("out")),
              (std::vector<std::string>{"cobaltpro.xef", "docs", "docs/notes", "docs/notes/n.txt",
                                        "top.txt"}));
}

TEST(CZip, NamesOutsideTheFolderAndLinksAreRefusedBeforeAnyWrite) {
    for (const char* bad : {"../escape.txt", "/tmp/abs.txt", "a/../../escape.txt", "..\\escape.txt",
                            "C:escape.txt"}) {
        test::TempDir dir;
        const std::string zip = MakeZip(dir.File("a.zip"), {{"first.txt", "1"}, {bad, "x"}});
        fs::create_directory(dir.File("out"));
        const CVellError e = test::CatchError([&] { CZip::UnZip(zip, dir.File("out")); });
        EXPECT_EQ(e.Number(), 321) << bad;
        EXPECT_NE(e.Description().find("outside the folder"), std::string::npos);
        EXPECT_TRUE(Listing(dir.File("out")).empty()) << bad;
        EXPECT_FALSE(fs::exists(dir.File("escape.txt")));
    }
    test::TempDir dir;
    const std::string zip =
        MakeZip(dir.File("l.zip"), {{"link", "/etc", true}, {"link/passwd", "x"}});
    fs::create_directory(dir.File("out"));
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(zip, dir.File("out")); }).Number(), 321);
    EXPECT_TRUE(Listing(dir.File("out")).empty());

    EXPECT_EQ(CZip::SafeRelativePath("a//./b/"), "a/b");
    EXPECT_EQ(CZip::SafeRelativePath("./"), "");
    EXPECT_FALSE(CZip::SafeRelativePath(""));
}

TEST(CZip, DecompressionBombsStopAtTheLimit) {
    test::TempDir dir;
    const std::string zip = MakeZip(
        dir.File("bomb.zip"), {{"small.txt", "fine"}, {"zeros.bin", std::string(8 << 20, '\0')}});
    ASSERT_LT(fs::file_size(zip), 40000u);
    fs::create_directory(dir.File("out"));
    const CVellError e = test::CatchError([&] { CZip::UnZip(zip, dir.File("out")); });
    EXPECT_EQ(e.Number(), 321);
    EXPECT_NE(e.Description().find("size limit"), std::string::npos);
    // What was written before stays; no part of the bomb does.
    EXPECT_EQ(Listing(dir.File("out")), std::vector<std::string>{"small.txt"});

    // The bytes read are counted, whatever the archive declares.
    CZip::Limits tight;
    tight.minBytes = 0;
    tight.ratio = 1;
    const std::string plain = MakeZip(dir.File("p.zip"), {{"text.txt", std::string(100000, 'a')}});
    fs::create_directory(dir.File("out2"));
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(plain, dir.File("out2"), tight); }).Number(), 321);
    EXPECT_TRUE(Listing(dir.File("out2")).empty());
}

TEST(CZip, DamagedArchives) {
    test::TempDir dir;
    fs::create_directory(dir.File("out"));
    const std::string data = "some data that is stored without compression";
    const std::string zip = MakeZip(dir.File("a.zip"), {{"f.txt", data, false, true}});
    std::string bytes = test::ReadBytes(zip);

    // A changed byte shows as a checksum error at the end of the entry.
    std::string damaged = bytes;
    damaged[damaged.find(data) + 5] ^= 1;
    const std::string crc = dir.Write("crc.zip", damaged);
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(crc, dir.File("out")); }).Number(), 321);
    EXPECT_TRUE(Listing(dir.File("out")).empty());

    const std::string cut = dir.Write("cut.zip", bytes.substr(0, bytes.size() - 10));
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(cut, dir.File("out")); }).Number(), 321);
    const std::string text = dir.Write("t.zip", "not an archive");
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(text, dir.File("out")); }).Number(), 321);
    EXPECT_TRUE(Listing(dir.File("out")).empty());

    const CVellError e = test::CatchError([&] { CZip::UnZip("", dir.File("out")); });
    EXPECT_EQ(e.Number(), 53);
    EXPECT_NE(e.Description().find("invalid file/folder name"), std::string::npos);
    EXPECT_EQ(test::CatchError([&] { CZip::UnZip(zip, ""); }).Number(), 53);
}

TEST(CZip, OneEntryAlone) {
    test::TempDir dir;
    const std::string zip = MakeZip(dir.File("a.zip"), {{"other/cobaltpro.xef", "no"},
                                                        {"CobaltPro.XEF", "<x/>"},
                                                        {"big.bin", std::string(8 << 20, '\0')}});
    fs::create_directory(dir.File("out"));
    const std::string path = CZip::ExtractEntry(zip, "cobaltpro.xef", dir.File("out"));
    EXPECT_EQ(path, dir.File("out/CobaltPro.XEF"));
    EXPECT_EQ(test::ReadBytes(path), "<x/>");
    EXPECT_EQ(Listing(dir.File("out")), std::vector<std::string>{"CobaltPro.XEF"});
    EXPECT_EQ(CZip::ExtractEntry(zip, "missing.xef", dir.File("out")), "");
    // A hostile name elsewhere in the archive refuses it all the same.
    const std::string bad = MakeZip(dir.File("b.zip"), {{"cobaltpro.xef", "<x/>"}, {"../x", ""}});
    EXPECT_EQ(test::CatchError([&] {
                  CZip::ExtractEntry(bad, "cobaltpro.xef", dir.File("out"));
              }).Number(),
              321);
}
