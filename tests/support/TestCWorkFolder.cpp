#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "TestUtil.h"
#include "support/CWorkFolder.h"

using namespace vellcfgrdr;
using test::ModeOf;
using test::NamesIn;
using test::TempDir;
namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(CWorkFolder, IsPrivateUniqueAndGoneOnEveryWayOut) {
    TempDir parent;
    std::string kept;
    {
        CWorkFolder a("ReadXEF", parent.Str());
        CWorkFolder b("ReadXEF", parent.Str());
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_EQ(fs::path(a.Path()).parent_path(), parent.Path());
        EXPECT_TRUE(fs::path(a.Path()).filename().string().starts_with("ReadXEF-"));
        EXPECT_EQ(ModeOf(a.Path()), 0700u);
        a.WriteEntry("x.xml", "<x/>");
        fs::create_directory(a.Path() + "/sub");
        fs::create_directory_symlink(parent.Path(), a.Path() + "/link");
        kept = a.Path();
    }
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(parent.Path()));  // a link inside is removed, not followed
    EXPECT_EQ(NamesIn(parent.Path()).size(), 0u);

    try {
        CWorkFolder c("Tessel", parent.Str());
        c.WriteEntry("db.mdb", "bytes");
        throw std::runtime_error("reader failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(NamesIn(parent.Path()).size(), 0u);
}

TEST(CWorkFolder, DefaultParentIsThePrivateUserFolderUnderTmpdir) {
    TempDir tmp;
    test::EnvGuard guard("TMPDIR", tmp.Str().c_str());
    CWorkFolder work("ReadXEF");
    const fs::path user = fs::path(work.Path()).parent_path();
    EXPECT_EQ(user.parent_path(), tmp.Path());
    EXPECT_EQ(user.filename().string(), "vellcfgrdr-" + std::to_string(::geteuid()));
    // Its mode: CVellBases.SupportFolderIsPrivate; a TMPDIR that does not
    // exist: Cli.InputsThatCannotBeReadSayWhatTheyAreAndExit2.
}

TEST(CWorkFolder, EntryNamesThatCouldLeaveTheFolderAreRefused) {
    TempDir parent;
    CWorkFolder work("w", parent.Str());
    for (const std::string& name :
         {""s, "."s, ".."s, "../x"s, "a/b"s, "a\\b"s, "/etc/passwd"s, "\\x"s, "C:x"s, "c:"s,
          "x..y"s, "a\0b"s, std::string(256, 'n')}) {
        EXPECT_FALSE(CWorkFolder::IsSafeEntryName(name)) << name;
        const CVellError e = test::CatchError([&] { work.WriteEntry(name, "x"); });
        EXPECT_EQ(e.Number(), 52) << name;
        EXPECT_EQ(e.Source(), "VellCfgRdr > WorkFolder.EntryPath");
    }
    EXPECT_EQ(NamesIn(work.Path()).size(), 0u);
    EXPECT_EQ(NamesIn(parent.Path()).size(), 1u);

    for (const std::string& name : {"PROJECT.XEF"s, ".hidden"s, "a b.c"s, std::string(255, 'n')}) {
        EXPECT_TRUE(CWorkFolder::IsSafeEntryName(name)) << name;
        EXPECT_EQ(work.EntryPath(name), work.Path() + "/" + name);
    }
    EXPECT_EQ(test::CatchError([&] { CWorkFolder w("../up", parent.Str()); }).Number(), 52);
}

TEST(CWorkFolder, EntriesAppearOnlyWhenComplete) {
    TempDir parent;
    CWorkFolder work("w", parent.Str());
    const std::string path = work.WriteEntry("whole.xml", "<a/>");
    EXPECT_EQ(test::ReadBytes(path), "<a/>");
    EXPECT_EQ(ModeOf(path), 0600u);

    auto entry = work.CreateEntry("pieces.bin");
    entry->Write("ab");
    EXPECT_FALSE(fs::exists(work.Path() + "/pieces.bin"));
    entry->Write("cd");
    entry->Commit();
    EXPECT_EQ(test::ReadBytes(work.Path() + "/pieces.bin"), "abcd");

    // An entry given up half way (a CRC error at its end) leaves nothing.
    entry = work.CreateEntry("broken.bin");
    entry->Write("half");
    entry.reset();
    EXPECT_EQ(NamesIn(work.Path()).size(), 2u);
}
