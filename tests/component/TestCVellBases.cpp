#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "TestUtil.h"
#include "component/CVellBases.h"
#include "core/EmbeddedFiles.h"
#include "core/modResStr.h"

using namespace vellcfgrdr;
using test::ModeOf;
using test::NamesIn;
using test::TempDir;
namespace fs = std::filesystem;

namespace {

// A repository resource as the library carries it: CR LF line ends.
std::string ResourceWithCrLf(const std::string& name) {
    std::string out;
    for (char c : test::ReadBytes(VELL_RESOURCE_DIR "/" + name)) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::string FolderName() {
    return "vellcfgrdr-" + std::to_string(::geteuid());
}

// The support folder, relative to the temporary folder.
std::string SupportName() {
    return FolderName() + "/support-" + CVellBases::SupportKey();
}

}  // namespace

// The files carried in the library are those of the repository.
TEST(CVellBases, LoadResFileGivesTheSupportFiles) {
    for (const modResStr::ResFile& file : modResStr::ResFiles())
        EXPECT_EQ(modResStr::LoadResFile(file.id), ResourceWithCrLf(file.fileName))
            << file.fileName;
}

TEST(CVellBases, SupportFolderIsPrivate) {
    TempDir root;
    const std::string expected = root.File(SupportName());
    EXPECT_EQ(CVellBases::PrepareSupportFolder(root.Str()), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(ModeOf(root.File(FolderName())), 0700u);
    EXPECT_EQ(ModeOf(expected), 0700u);

    // Ours but open to others: tightened and used.
    ::chmod(expected.c_str(), 0777);
    EXPECT_EQ(CVellBases::PrepareSupportFolder(root.Str()), expected);
    EXPECT_EQ(ModeOf(expected), 0700u);

    // A link in the support folder's place is refused like one in the user
    // folder's.
    TempDir elsewhere;
    fs::remove(expected);
    fs::create_directory_symlink(elsewhere.Path(), expected);
    const CVellError e = test::CatchError([&] { CVellBases::PrepareSupportFolder(root.Str()); });
    EXPECT_EQ(e.Number(), 70);
    EXPECT_NE(e.Description().find("symbolic link"), std::string::npos) << e.Description();
}

// Two versions of the library running at once, or one after the other, once
// read each other's catalogue: the folder is named after the files' content.
TEST(CVellBases, SupportFolderIsKeyedByTheSupportFiles) {
    const std::span<const EmbeddedFile> mine = EmbeddedFiles();
    ASSERT_FALSE(mine.empty());
    const std::string key = CVellBases::SupportKey();
    EXPECT_EQ(key, CVellBases::SupportKey(mine));
    EXPECT_EQ(key.size(), 16u);
    EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);

    std::vector<EmbeddedFile> other(mine.begin(), mine.end());
    std::vector<unsigned char> bytes(other[0].data, other[0].data + other[0].size);
    bytes.back() ^= 1;  // one bit of one file
    other[0].data = bytes.data();
    EXPECT_NE(CVellBases::SupportKey(other), key);
    other[0] = mine[0];
    other[0].name = "Renamed.txt";
    EXPECT_NE(CVellBases::SupportKey(other), key);
    other[0] = mine[0];
    other.pop_back();  // a file less
    EXPECT_NE(CVellBases::SupportKey(other), key);

    TempDir root;
    EXPECT_EQ(fs::path(CVellBases::PrepareSupportFolder(root.Str())).filename(), "support-" + key);
}

TEST(CVellBases, SupportFolderRefusesWhatIsNotOurOwnFolder) {
    TempDir root, elsewhere;
    const std::string folder = root.File(FolderName());
    ::chmod(elsewhere.Str().c_str(), 0755);
    fs::create_directory_symlink(elsewhere.Path(), folder);
    CVellError e = test::CatchError([&] { CVellBases::PrepareSupportFolder(root.Str()); });
    EXPECT_EQ(e.Number(), 70);
    EXPECT_NE(e.Description().find("symbolic link"), std::string::npos) << e.Description();
    EXPECT_EQ(e.Source(), "VellCfgRdr > WorkFolder.UserFolder");
    EXPECT_EQ(ModeOf(elsewhere.Str()), 0755u);  // the link's target is left alone

    fs::remove(folder);
    root.Write(FolderName(), "a file");
    e = test::CatchError([&] { CVellBases::PrepareSupportFolder(root.Str()); });
    EXPECT_EQ(e.Number(), 70);

    // Another user's folder (only root can make one here).
    fs::remove(folder);
    fs::create_directory(folder);
    if (::chown(folder.c_str(), 65534, 65534) == 0) {
        e = test::CatchError([&] { CVellBases::PrepareSupportFolder(root.Str()); });
        EXPECT_EQ(e.Number(), 70);
        EXPECT_NE(e.Description().find("another user"), std::string::npos);
    }
}

TEST(CVellBases, ExtractSupportFilesWritesWindowsTextAtomically) {
    TempDir root;
    const std::string folder = CVellBases::PrepareSupportFolder(root.Str());
    root.Write(SupportName() + "/PartMapping.txt", "old content");
    CVellBases::ExtractSupportFiles(folder);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"FamilyInfo.txt", "PartDescriptions.txt",
                                                         "PartInfo.sup", "PartMapping.txt"}));
    EXPECT_EQ(test::ReadBytes(folder + "/PartMapping.txt"), ResourceWithCrLf("PartMapping.txt"));
    const std::string parts = test::ReadBytes(folder + "/PartDescriptions.txt");
    EXPECT_NE(parts.find("\r\n"), std::string::npos);
    EXPECT_NE(parts.find("Ch\xE2ssis"), std::string::npos);      // Windows-1252
    EXPECT_EQ(parts.find("Ch\xC3\xA2ssis"), std::string::npos);  // not UTF-8

    // Unchanged files are kept; a changed one of the same size is replaced.
    const std::string family = folder + "/FamilyInfo.txt";
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(family, stamp);
    std::string changed = ResourceWithCrLf("PartMapping.txt");
    changed[0] ^= 1;
    root.Write(SupportName() + "/PartMapping.txt", changed);
    CVellBases::ExtractSupportFiles(folder);
    EXPECT_EQ(fs::last_write_time(family), stamp);
    EXPECT_EQ(test::ReadBytes(folder + "/PartMapping.txt"), ResourceWithCrLf("PartMapping.txt"));

    // A target that cannot be replaced: the error passes on, no temporary
    // file is left behind.
    fs::remove(folder + "/PartInfo.sup");
    fs::create_directory(folder + "/PartInfo.sup");
    const CVellError e = test::CatchError([&] { CVellBases::ExtractSupportFiles(folder); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_EQ(e.Source(), "VellCfgRdr > FileWriter.Commit");
    EXPECT_EQ(NamesIn(folder).size(), 4u);

    // A missing folder is a path not found, naming the folder.
    EXPECT_EQ(
        test::CatchError([&] { CVellBases::ExtractSupportFiles(root.File("none")); }).Number(), 76);
}

TEST(CVellBases, SupportFilesThatAreNotPlainFilesOfOursAreReplaced) {
    TempDir root, elsewhere;
    const std::string folder = CVellBases::PrepareSupportFolder(root.Str());
    CVellBases::ExtractSupportFiles(folder);
    const std::string good = test::ReadBytes(folder + "/FamilyInfo.txt");

    // A FIFO in place of a support file once hung every start-up.
    const std::string fifo = folder + "/PartMapping.txt";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A second name for a file with the right bytes: its other name could
    // change it behind our back.
    const std::string outside = elsewhere.Write("family.txt", good);
    fs::remove(folder + "/FamilyInfo.txt");
    fs::create_hard_link(outside, folder + "/FamilyInfo.txt");
    // A link to the right bytes is replaced too, and its target left alone.
    const std::string parts = test::ReadBytes(folder + "/PartDescriptions.txt");
    const std::string linked = elsewhere.Write("parts.txt", parts);
    fs::remove(folder + "/PartDescriptions.txt");
    fs::create_symlink(linked, folder + "/PartDescriptions.txt");

    CVellBases::ExtractSupportFiles(folder);
    for (const std::string name : {"PartMapping.txt", "FamilyInfo.txt", "PartDescriptions.txt"}) {
        struct stat st {};
        ASSERT_EQ(::lstat((folder + "/" + name).c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
        EXPECT_EQ(st.st_nlink, 1u) << name;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
    EXPECT_EQ(test::ReadBytes(folder + "/FamilyInfo.txt"), good);
    EXPECT_EQ(test::ReadBytes(outside), good);
    EXPECT_EQ(test::ReadBytes(linked), parts);
    EXPECT_EQ(NamesIn(folder).size(), 4u);

    // Another user's file with the right bytes (only root can make one).
    const std::string family = folder + "/FamilyInfo.txt";
    if (::chown(family.c_str(), 65534, 65534) == 0) {
        CVellBases::ExtractSupportFiles(folder);
        struct stat st {};
        ::lstat(family.c_str(), &st);
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
}
