#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CFileSys.h"

using namespace vellcfgrdr;
using test::CatchError;
using test::EnvGuard;
using test::ExpectEach;
using test::ReadBytes;
namespace fs = std::filesystem;

namespace {

class CFileSysDisk : public ::testing::Test {
  protected:
    std::string At(const std::string& rel) const { return dir_.File(rel); }
    std::string Make(const std::string& rel, const std::string& content = "x") const {
        return dir_.Write(rel, content);
    }

    test::TempDir dir_;
    const std::string root_ = dir_.Str();
};

}  // namespace

TEST(CFileSys, LexicalFormsAcceptBothSeparators) {
    // clang-format off
    ExpectEach([](auto p) { return CFileSys::FileExtension(p, false); },
               {{"C:\\a\\b.c\\proj", ""}, {"proj.L5K", "L5K"}, {"x/archive.tar.gz", "gz"}});
    ExpectEach([](auto p) { return CFileSys::FileExtension(p, true); },
               {{"C:\\a\\b.c\\proj", "."}, {"proj.L5K", ".L5K"}});
    ExpectEach(CFileSys::FileBasename, {{"archive.tar.gz", "archive.tar"},
               {"C:\\home\\.profile", ".profile"}, {"a.b/noext", "noext"}});
    ExpectEach(CFileSys::FilePathPart, {{"C:/x\\y.fef", "C:/x\\"}, {"y.fef", ""}});
    ExpectEach(CFileSys::FileNamePart, {{"C:\\x\\", ""}, {"C:\\x/y.fef", "y.fef"}, {"y", "y"}});
    ExpectEach([](auto p) { return CFileSys::FileChangeExtension(p, "zip"); }, {
               {"C:\\x\\y.fef", "C:\\x\\y.zip"}, {"/x/a.tar.gz", "/x/a.tar.zip"},
               {"/x/noext", "/x/noext.zip"}});
    ExpectEach(CFileSys::PathAppendBackslash, {{"/a", "/a/"}, {"C:\\x\\", "C:\\x\\"}, {"", ""}});
    ExpectEach(CFileSys::PathCanonicalize, {{"  /a/./b/../c ", "/a/c"}, {"/../a", "/a"},
               {"proj\\io\\..\\map.dat", "proj/map.dat"}, {"a//b/", "a/b/"}, {"", ""}});
    ExpectEach<bool>(CFileSys::PathIsRelative,
               {{"a/b", true}, {"", true}, {"/a", false}, {"\\a", false}, {"C:\\a", false}});
    ExpectEach(CFileSys::PathUnquoteSpaces, {{"\"a b\"", "a b"}, {"\"a b", "\"a b"}, {"\"", "\""}});
    // clang-format on
    // Joined with one slash.
    EXPECT_EQ(CFileSys::PathAppend("/a//", "/b"), "/a/b");
    EXPECT_EQ(CFileSys::PathAppend("C:\\x\\", "y.fef"), "C:\\x/y.fef");
    EXPECT_EQ(CFileSys::PathAppend("/", "b"), "/b");
    EXPECT_EQ(CFileSys::PathAppend("", "b"), "b");
    EXPECT_EQ(CFileSys::PathAppend("a", ""), "a");

    const std::string cwd = fs::current_path().string();
    EXPECT_EQ(CFileSys::GetFullPath("x/../y.txt"), (fs::current_path() / "y.txt").string());
    EXPECT_EQ(CFileSys::GetFullPath("/a/./b"), "/a/b");
    const CVellError e = CatchError([] { CFileSys::GetFullPath(""); });
    EXPECT_EQ(e.Number(), ErrNum::kBadFileName);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CFileSys.GetFullPath");

    EXPECT_EQ(CFileSys::MakeRelativePathTo("/a/b/c.txt", "/a"), "b/c.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo("/a/c.txt", "/a/b/"), "../c.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo(cwd + "/p/q.txt", "p"), "q.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo("", "/a"), "");
}

TEST_F(CFileSysDisk, TempAndAppDataFoldersFromTheEnvironment) {
    for (const auto& [tmpdir, path] : {std::pair{"/var/spool", "/var/spool/"}, {"", "/tmp/"}}) {
        EnvGuard tmp("TMPDIR", tmpdir);
        EXPECT_EQ(CFileSys::GetTempPath(), path);
    }
    EnvGuard app("APPDATA", "/srv/app");
    EnvGuard xdg("XDG_CONFIG_HOME", "/srv/xdg");
    EnvGuard home("HOME", "/home/u");
    EXPECT_EQ(CFileSys::GetAppDataPathSubDir("", false), "/srv/app/");
    EXPECT_EQ(CFileSys::GetAppDataPathSubDir("Vell", false), "/srv/app/Vell/");
    ::unsetenv("APPDATA");
    EXPECT_EQ(CFileSys::GetAppDataPathSubDir("Vell/", false), "/srv/xdg/Vell/");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(CFileSys::GetAppDataPathSubDir("", false), "/home/u/.config/");

    // Made on request.
    ::setenv("APPDATA", root_.c_str(), 1);
    const std::string sub = CFileSys::GetAppDataPathSubDir("Vell/Parts", true);
    EXPECT_EQ(sub, root_ + "/Vell/Parts/");
    EXPECT_TRUE(fs::is_directory(sub));
}

TEST_F(CFileSysDisk, TempFileNamesAreNewFiles) {
    const std::string a = CFileSys::GetTempFileName(root_, "ZEF");
    const std::string b = CFileSys::GetTempFileName(root_ + "/", "ZEF");
    EXPECT_NE(a, b);
    EXPECT_TRUE(fs::is_regular_file(a));
    EXPECT_EQ(fs::file_size(a), 0u);
    EXPECT_EQ(CFileSys::FilePathPart(a), root_ + "/");
    EXPECT_TRUE(CFileSys::FileNamePart(a).starts_with("ZEF"));

    EnvGuard tmp("TMPDIR", root_.c_str());
    EXPECT_EQ(CFileSys::FilePathPart(CFileSys::GetTempFileName("", "")), root_ + "/");

    const CVellError e = CatchError([&] { CFileSys::GetTempFileName(At("missing"), "ZEF"); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CFileSys.GetTempFileName");
}

TEST_F(CFileSysDisk, MakeAndRemoveFolders) {
    EXPECT_TRUE(CFileSys::MakeFolder(At("a/b/c/")));
    EXPECT_TRUE(fs::is_directory(At("a/b/c")));
    EXPECT_TRUE(CFileSys::MakeFolder(At("a/b")));  // already there
    EXPECT_FALSE(CFileSys::MakeFolder(""));
    Make("file");
    const CVellError e = CatchError([&] { CFileSys::MakeFolder(At("file/sub")); });
    EXPECT_EQ(e.Source(), "VellCfgRdr > CFileSys.MakeFolder");

    EXPECT_EQ(CFileSys::RemoveFolder(At("a/b/c")), 0);
    EXPECT_FALSE(fs::exists(At("a/b/c")));
    EXPECT_EQ(CFileSys::RemoveFolder(At("a")), ErrNum::kPathFileAccess);  // not empty
    EXPECT_EQ(CFileSys::RemoveFolder(At("nowhere")), ErrNum::kPathNotFound);
}

TEST_F(CFileSysDisk, FileFindOwnFilesFirstThenSubFoldersDepthFirst) {
    for (const char* f : {"z.txt", "a.txt", "B.TXT", "c.dat", "noext", "sub/d.txt",
                          "sub/deeper/e.txt", "sub2/f.txt", "sub2/g.dat"})
        Make(f);
    fs::create_directories(At("folder.txt"));
    fs::create_symlink(root_, At("sub2/loop"));

    EXPECT_EQ(CFileSys::FileFind(root_, "*.txt", false),
              (std::vector<std::string>{At("B.TXT"), At("a.txt"), At("z.txt")}));
    EXPECT_EQ(CFileSys::FileFind(root_ + "/", "*.txt", true),
              (std::vector<std::string>{At("B.TXT"), At("a.txt"), At("z.txt"), At("sub/d.txt"),
                                        At("sub/deeper/e.txt"), At("sub2/f.txt")}));
    EXPECT_EQ(CFileSys::FileFind(root_, "?.DAT", false), std::vector<std::string>{At("c.dat")});
    EXPECT_EQ(CFileSys::FileFind(root_, "*.*", false).size(), 5u);  // "noext" too
    EXPECT_TRUE(CFileSys::FileFind(At("missing"), "*", true).empty());
    EXPECT_TRUE(CFileSys::FileFind(At("a.txt"), "*", true).empty());
}

TEST_F(CFileSysDisk, ExistsCopyMoveDelete) {
    const std::string src = Make("src.txt", "one");
    EXPECT_TRUE(CFileSys::FileExists(src));
    EXPECT_FALSE(CFileSys::FileExists(root_));
    EXPECT_FALSE(CFileSys::FileExists(At("missing")));

    EXPECT_TRUE(CFileSys::CopyFile(src, At("copy.txt"), true));
    EXPECT_EQ(ReadBytes(At("copy.txt")), "one");
    Make("other.txt", "two");
    EXPECT_FALSE(CFileSys::CopyFile(At("other.txt"), At("copy.txt"), true));
    EXPECT_EQ(ReadBytes(At("copy.txt")), "one");
    EXPECT_TRUE(CFileSys::CopyFile(At("other.txt"), At("copy.txt"), false));
    EXPECT_EQ(ReadBytes(At("copy.txt")), "two");
    EXPECT_FALSE(CFileSys::CopyFile(At("missing"), At("x.txt"), false));

    EXPECT_TRUE(CFileSys::MoveFile(At("copy.txt"), At("src.txt")));  // replaces the target
    EXPECT_EQ(ReadBytes(src), "two");
    EXPECT_FALSE(fs::exists(At("copy.txt")));
    fs::create_directories(At("into"));
    EXPECT_TRUE(CFileSys::MoveFile(src, At("into")));
    EXPECT_EQ(ReadBytes(At("into/src.txt")), "two");
    EXPECT_TRUE(CFileSys::MoveFile(At("into"), At("renamed")));
    EXPECT_TRUE(fs::exists(At("renamed/src.txt")));
    EXPECT_FALSE(CFileSys::MoveFile(At("missing"), At("x.txt")));

    EXPECT_TRUE(CFileSys::DeleteFile(At("other.txt"), false, true));
    EXPECT_FALSE(fs::exists(At("other.txt")));
    EXPECT_TRUE(CFileSys::DeleteFile(At("renamed/src.txt"), true, false));  // no recycle bin
    EXPECT_FALSE(CFileSys::DeleteFile(At("other.txt"), false, true));
    EXPECT_FALSE(CFileSys::DeleteFile(At("renamed"), false, true));
    EXPECT_TRUE(fs::is_directory(At("renamed")));
}

TEST_F(CFileSysDisk, MoveFileAcrossDevicesCopiesAndRemoves) {
    struct stat here {
    }, shm{};
    if (::stat(root_.c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second device to move to";
    const test::TempDir other = [] {
        EnvGuard shm("TMPDIR", "/dev/shm");
        return test::TempDir();
    }();
    Make("tree/a.txt", "a");
    Make("tree/sub/b.txt", "b");
    Make("single.txt", "s");
    EXPECT_TRUE(CFileSys::MoveFile(At("single.txt"), other.File("single.txt")));
    EXPECT_TRUE(CFileSys::MoveFile(At("tree"), other.File("tree")));
    EXPECT_EQ(ReadBytes(other.File("single.txt")), "s");
    EXPECT_EQ(ReadBytes(other.File("tree/sub/b.txt")), "b");
    EXPECT_FALSE(fs::exists(At("single.txt")));
    EXPECT_FALSE(fs::exists(At("tree")));
}
