#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "component/ErrNum.h"
#include "support/CFileSys.h"
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

// Sets or clears an environment variable for one test and puts it back.
class EnvGuard {
  public:
    EnvGuard(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvGuard() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class CFileSysDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "vellfs_XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string At(const std::string& rel) const { return dir_ + "/" + rel; }
    std::string Make(const std::string& rel, const std::string& content = "x") const {
        fs::create_directories(fs::path(At(rel)).parent_path());
        std::ofstream(At(rel), std::ios::binary) << content;
        return At(rel);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string dir_;
};

}  // namespace

TEST(CFileSys, SplittingAcceptsBothSeparators) {
    EXPECT_EQ(CFileSys::FileExtension("C:\\a\\b.c\\proj", false), "");
    EXPECT_EQ(CFileSys::FileExtension("C:\\a\\b.c\\proj", true), ".");
    EXPECT_EQ(CFileSys::FileExtension("/a/b.c/proj", false), "");
    EXPECT_EQ(CFileSys::FileExtension("proj.L5K", false), "L5K");
    EXPECT_EQ(CFileSys::FileExtension("proj.L5K", true), ".L5K");
    EXPECT_EQ(CFileSys::FileExtension("x/archive.tar.gz", false), "gz");

    EXPECT_EQ(CFileSys::FileBasename("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(CFileSys::FileBasename(".profile"), ".profile");
    EXPECT_EQ(CFileSys::FileBasename("C:\\home\\.profile"), ".profile");
    EXPECT_EQ(CFileSys::FileBasename("C:\\x\\y.fef"), "y");
    EXPECT_EQ(CFileSys::FileBasename("a.b/noext"), "noext");

    EXPECT_EQ(CFileSys::FilePathPart("C:\\x\\y.fef"), "C:\\x\\");
    EXPECT_EQ(CFileSys::FilePathPart("/x/y.fef"), "/x/");
    EXPECT_EQ(CFileSys::FilePathPart("C:/x\\y.fef"), "C:/x\\");
    EXPECT_EQ(CFileSys::FilePathPart("y.fef"), "");

    EXPECT_EQ(CFileSys::FileNamePart("C:\\x\\"), "");
    EXPECT_EQ(CFileSys::FileNamePart("C:\\x\\y.fef"), "y.fef");
    EXPECT_EQ(CFileSys::FileNamePart("/x/y"), "y");
    EXPECT_EQ(CFileSys::FileNamePart("y"), "y");

    EXPECT_EQ(CFileSys::FileChangeExtension("C:\\x\\y.fef", "xml"), "C:\\x\\y.xml");
    EXPECT_EQ(CFileSys::FileChangeExtension("/x/y.fef", ".xml"), "/x/y.xml");
    EXPECT_EQ(CFileSys::FileChangeExtension("/x/a.tar.gz", "zip"), "/x/a.tar.zip");
    EXPECT_EQ(CFileSys::FileChangeExtension("/x/noext", "zip"), "/x/noext.zip");
}

TEST(CFileSys, JoiningUsesOneSlash) {
    EXPECT_EQ(CFileSys::PathAppend("/a", "b"), "/a/b");
    EXPECT_EQ(CFileSys::PathAppend("/a//", "/b"), "/a/b");
    EXPECT_EQ(CFileSys::PathAppend("C:\\x\\", "y.fef"), "C:\\x/y.fef");
    EXPECT_EQ(CFileSys::PathAppend("/", "b"), "/b");
    EXPECT_EQ(CFileSys::PathAppend("", "b"), "b");
    EXPECT_EQ(CFileSys::PathAppend("a", ""), "a");

    EXPECT_EQ(CFileSys::PathAppendBackslash("/a"), "/a/");
    EXPECT_EQ(CFileSys::PathAppendBackslash("/a/"), "/a/");
    EXPECT_EQ(CFileSys::PathAppendBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(CFileSys::PathAppendBackslash(""), "");
}

TEST(CFileSys, LexicalPathForms) {
    EXPECT_EQ(CFileSys::PathCanonicalize("  /a/./b/../c "), "/a/c");
    EXPECT_EQ(CFileSys::PathCanonicalize("proj\\io\\..\\map.dat"), "proj/map.dat");
    EXPECT_EQ(CFileSys::PathCanonicalize("/../a"), "/a");
    EXPECT_EQ(CFileSys::PathCanonicalize("a//b/"), "a/b/");
    EXPECT_EQ(CFileSys::PathCanonicalize(""), "");

    EXPECT_TRUE(CFileSys::PathIsRelative("a/b"));
    EXPECT_TRUE(CFileSys::PathIsRelative("./a"));
    EXPECT_TRUE(CFileSys::PathIsRelative(""));
    EXPECT_FALSE(CFileSys::PathIsRelative("/a"));
    EXPECT_FALSE(CFileSys::PathIsRelative("\\a"));
    EXPECT_FALSE(CFileSys::PathIsRelative("C:\\a"));

    EXPECT_EQ(CFileSys::PathUnquoteSpaces("\"a b\""), "a b");
    EXPECT_EQ(CFileSys::PathUnquoteSpaces("\"a b"), "\"a b");
    EXPECT_EQ(CFileSys::PathUnquoteSpaces("\""), "\"");
    EXPECT_EQ(CFileSys::PathUnquoteSpaces("\"\""), "");

    const std::string cwd = fs::current_path().string();
    EXPECT_EQ(CFileSys::GetFullPath("x/../y.txt"), (fs::current_path() / "y.txt").string());
    EXPECT_EQ(CFileSys::GetFullPath("/a/./b"), "/a/b");
    const CVellError e = Catch([] { CFileSys::GetFullPath(""); });
    EXPECT_EQ(e.Number(), ErrNum::kBadFileName);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CFileSys.GetFullPath");

    EXPECT_EQ(CFileSys::MakeRelativePathTo("/a/b/c.txt", "/a"), "b/c.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo("/a/c.txt", "/a/b/"), "../c.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo(cwd + "/p/q.txt", "p"), "q.txt");
    EXPECT_EQ(CFileSys::MakeRelativePathTo("", "/a"), "");
}

TEST(CFileSys, TempAndAppDataFoldersFromTheEnvironment) {
    {
        EnvGuard tmp("TMPDIR", "/var/spool");
        EXPECT_EQ(CFileSys::GetTempPath(), "/var/spool/");
    }
    {
        EnvGuard tmp("TMPDIR", "");
        EXPECT_EQ(CFileSys::GetTempPath(), "/tmp/");
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
}

TEST_F(CFileSysDisk, TempFileNamesAreNewFiles) {
    const std::string a = CFileSys::GetTempFileName(dir_, "ZEF");
    const std::string b = CFileSys::GetTempFileName(dir_ + "/", "ZEF");
    EXPECT_NE(a, b);
    EXPECT_TRUE(fs::is_regular_file(a));
    EXPECT_EQ(fs::file_size(a), 0u);
    EXPECT_EQ(CFileSys::FilePathPart(a), dir_ + "/");
    EXPECT_TRUE(CFileSys::FileNamePart(a).starts_with("ZEF"));

    EnvGuard tmp("TMPDIR", dir_.c_str());
    EXPECT_EQ(CFileSys::FilePathPart(CFileSys::GetTempFileName("", "")), dir_ + "/");

    const CVellError e = Catch([&] { CFileSys::GetTempFileName(At("missing"), "ZEF"); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CFileSys.GetTempFileName");
}

TEST_F(CFileSysDisk, AppDataFolderIsMadeOnRequest) {
    EnvGuard app("APPDATA", dir_.c_str());
    const std::string sub = CFileSys::GetAppDataPathSubDir("Vell/Parts", true);
    EXPECT_EQ(sub, dir_ + "/Vell/Parts/");
    EXPECT_TRUE(fs::is_directory(sub));
}

TEST_F(CFileSysDisk, MakeAndRemoveFolders) {
    EXPECT_TRUE(CFileSys::MakeFolder(At("a/b/c/")));
    EXPECT_TRUE(fs::is_directory(At("a/b/c")));
    EXPECT_TRUE(CFileSys::MakeFolder(At("a/b")));  // already there
    EXPECT_FALSE(CFileSys::MakeFolder(""));
    Make("file");
    const CVellError e = Catch([&] { CFileSys::MakeFolder(At("file/sub")); });
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
    fs::create_symlink(dir_, At("sub2/loop"));

    EXPECT_EQ(CFileSys::FileFind(dir_, "*.txt", false),
              (std::vector<std::string>{At("B.TXT"), At("a.txt"), At("z.txt")}));
    EXPECT_EQ(CFileSys::FileFind(dir_ + "/", "*.txt", true),
              (std::vector<std::string>{At("B.TXT"), At("a.txt"), At("z.txt"), At("sub/d.txt"),
                                        At("sub/deeper/e.txt"), At("sub2/f.txt")}));
    EXPECT_EQ(CFileSys::FileFind(dir_, "?.DAT", false), std::vector<std::string>{At("c.dat")});
    EXPECT_EQ(CFileSys::FileFind(dir_, "*.*", false).size(), 5u);  // "noext" too
    EXPECT_TRUE(CFileSys::FileFind(At("missing"), "*", true).empty());
    EXPECT_TRUE(CFileSys::FileFind(At("a.txt"), "*", true).empty());
}

TEST_F(CFileSysDisk, ExistsCopyMoveDelete) {
    const std::string src = Make("src.txt", "one");
    EXPECT_TRUE(CFileSys::FileExists(src));
    EXPECT_FALSE(CFileSys::FileExists(dir_));
    EXPECT_FALSE(CFileSys::FileExists(At("missing")));
    EXPECT_FALSE(CFileSys::FileExists(""));

    EXPECT_TRUE(CFileSys::CopyFile(src, At("copy.txt"), true));
    EXPECT_EQ(Read(At("copy.txt")), "one");
    Make("other.txt", "two");
    EXPECT_FALSE(CFileSys::CopyFile(At("other.txt"), At("copy.txt"), true));
    EXPECT_EQ(Read(At("copy.txt")), "one");
    EXPECT_TRUE(CFileSys::CopyFile(At("other.txt"), At("copy.txt"), false));
    EXPECT_EQ(Read(At("copy.txt")), "two");
    EXPECT_FALSE(CFileSys::CopyFile(At("missing"), At("x.txt"), false));

    EXPECT_TRUE(CFileSys::MoveFile(At("copy.txt"), At("src.txt")));  // replaces the target
    EXPECT_EQ(Read(src), "two");
    EXPECT_FALSE(fs::exists(At("copy.txt")));
    fs::create_directories(At("into"));
    EXPECT_TRUE(CFileSys::MoveFile(src, At("into")));
    EXPECT_EQ(Read(At("into/src.txt")), "two");
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
    if (::stat(dir_.c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second device to move to";
    std::string other = "/dev/shm/vellfs_XXXXXX";
    ASSERT_NE(::mkdtemp(other.data()), nullptr);
    Make("tree/a.txt", "a");
    Make("tree/sub/b.txt", "b");
    Make("single.txt", "s");
    EXPECT_TRUE(CFileSys::MoveFile(At("single.txt"), other + "/single.txt"));
    EXPECT_TRUE(CFileSys::MoveFile(At("tree"), other + "/tree"));
    EXPECT_EQ(Read(other + "/single.txt"), "s");
    EXPECT_EQ(Read(other + "/tree/sub/b.txt"), "b");
    EXPECT_FALSE(fs::exists(At("single.txt")));
    EXPECT_FALSE(fs::exists(At("tree")));
    fs::remove_all(other);
}
