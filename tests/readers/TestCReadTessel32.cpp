#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "ModelFixture.h"
#include "TesselPwx.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "readers/CReadTessel32.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

std::string Db(const std::string& name) {
    return std::string(VELL_TEST_DATA) + "/readers/tessel32/" + name;
}

// Every read runs with its own temporary folder, so that whatever a read
// leaves behind shows.
class Tessel32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        // The parts knowledge first: its start-up writes into the temporary folder.
        test::AttachShippedParts(cfg_);
        const char* old = ::getenv("TMPDIR");
        if (old) oldTmp_ = old;
        ::setenv("TMPDIR", tmp_.Str().c_str(), 1);
    }
    void TearDown() override {
        if (oldTmp_)
            ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    int32_t Read(const std::string& container) {
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("project.pwx", container));
        return CReadTessel32().GetIoConfig(cfg_);
    }
    // Files and folders left in the temporary folder, the per-user folder
    // itself aside.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(tmp_.Path()))
            if (!e.is_directory() ||
                e.path().filename().string().find("ReadTessel32") != std::string::npos)
                found.push_back(fs::relative(e.path(), tmp_.Path()).string());
        return found;
    }
    std::string At(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(bus, drop, rack, slot);
    }

    test::TempDir tmp_, dir_;
    std::optional<std::string> oldTmp_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(Tessel32Test, ReadsTheDatabaseOfTheLastEntryInEitherLiteralMode) {
    const std::string db = test::ReadBytes(Db("01_normal.mdb"));
    EXPECT_EQ(Read(test::MakePwx({{"notes.txt", "first entry", false}, {"Project.mdb", db, true}})),
              0);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(cfg_.PlcFamily(), plcKestrel);
    EXPECT_EQ(cfg_.ModuleList().Count(), 12);
    EXPECT_EQ(At(1, 1, 1, 2), "318DIN1624");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(Tessel32Test, BrokenContainersGive321AndLeaveNothing) {
    const std::string db = test::ReadBytes(Db("01_normal.mdb"));
    const std::string packed = test::Implode(db);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"zero-length container", ""},
        {"entry name of 300 bytes", test::PwxRecord(std::string(300, 'n'), packed)},
        {"entry name leading out", test::PwxRecord("../../escaped.mdb", packed)},
        {"absolute entry name", test::PwxRecord(tmp_.File("escaped.mdb"), packed)},
        {"compressed stream cut short",
         test::PwxRecord("p.mdb", packed.substr(0, packed.size() - 100))},
        {"entry longer than the file", test::PwxRecord("p.mdb", packed).substr(0, 2000)},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        CIoConfig fresh;
        messages_.clear();
        test::AttachShippedParts(fresh);
        fresh.SetProjectFileName(dir_.Write("broken.pwx", bytes));
        EXPECT_EQ(CReadTessel32().GetIoConfig(fresh), ErrNum::kBadFileFormat);
        EXPECT_EQ(fresh.DropList().Count(), 0);
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
        EXPECT_FALSE(fs::exists(dir_.Path().parent_path() / "escaped.mdb"));
    }
}

TEST_F(Tessel32Test, DatabasesThatCannotBeReadRaise) {
    const struct {
        const char* file;
        int32_t number;
    } cases[] = {
        {"07a_not_a_database.mdb", ErrNum::kPathFileAccess},
        {"07b_no_project_tables.mdb", ErrNum::kSubscript},
        {"07c_truncated.mdb", ErrNum::kDeviceIo},
        {"07e_truncated_long_value.mdb", ErrNum::kDeviceIo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CIoConfig fresh;
        test::AttachShippedParts(fresh);
        fresh.SetProjectFileName(dir_.Write("db.pwx", test::PwxOfFile(Db(c.file), "db.mdb")));
        EXPECT_EQ(test::CatchError([&] { CReadTessel32().GetIoConfig(fresh); }).Number(), c.number);
        EXPECT_EQ(fresh.ModuleList().Count(), 0);
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

TEST_F(Tessel32Test, SequenceNumbersOutsideTheRecordsRaiseAfterTheRacks) {
    const CVellError e =
        test::CatchError([&] { Read(test::PwxOfFile(Db("10_bad_sequence.mdb"), "p.mdb")); });
    EXPECT_EQ(e.Number(), ErrNum::kSubscript);
    EXPECT_EQ(cfg_.PlcFamily(), plcKestrel);
    EXPECT_EQ(cfg_.RackList().rackName(1, 1, 1), "318RCK0801");
    EXPECT_EQ(cfg_.ModuleList().Count(), 0);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(Tessel32Test, WithoutProcessorTypeNothingIsRead) {
    for (const char* file : {"03_no_processor_type.mdb", "04_processor_type_zero.mdb"}) {
        SCOPED_TRACE(file);
        CIoConfig fresh;
        test::AttachShippedParts(fresh);
        fresh.SetProjectFileName(dir_.Write("p.pwx", test::PwxOfFile(Db(file), "p.mdb")));
        EXPECT_EQ(CReadTessel32().GetIoConfig(fresh), ErrNum::kPlcNotValid);
        EXPECT_EQ(fresh.PlcName(), "");
        EXPECT_EQ(fresh.PlcFamily(), plcNone);
        EXPECT_EQ(fresh.RackList().Count(), 0);
    }
}
