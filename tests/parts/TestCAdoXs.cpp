#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "parts/CAdoXs.h"

namespace vellcfgrdr {
namespace {

using test::CatchError;

std::string Db(const std::string& name) {
    return std::string(VELL_TEST_DATA) + "/readers/tessel32/" + name;
}

// The query shape the Tessel 32 reader uses.
std::shared_ptr<CAdoRecordset> Read(CAdoXs& db, const std::string& sql) {
    return db.GetRecordSetEx(sql, CAdoXs::kLockOptimistic, CAdoXs::kCursorKeyset, true);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(CAdoXs, ConnectionStringByExtension) {
    EXPECT_EQ(
        CAdoXs::ConnectionString("/p/X.ACCDB"),
        "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/p/X.ACCDB;Persist Security Info=False");
    EXPECT_EQ(CAdoXs::ConnectionString("/p/x.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/x.mdb;Persist Security Info=False");
    EXPECT_EQ(CAdoXs::ConnectionString("/p/x"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/x;Persist Security Info=False");
    // The path goes in unquoted, as it stands.
    EXPECT_EQ(
        CAdoXs::ConnectionString("a b;c.accdbx"),
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a b;c.accdbx;Persist Security Info=False");
}

TEST(CAdoXs, InfoTextNamesTheConnection) {
    CAdoXs db;
    db.OpenDb(Db("01_normal.mdb"));
    EXPECT_EQ(db.AdoInfoText(3, "locked"),
              "ADO Error 3: locked in connection " + CAdoXs::ConnectionString(Db("01_normal.mdb")));
}

TEST(CAdoXs, ExactValuesNullAndEmpty) {
    for (const char* file : {"01_normal.mdb", "08_normal.accdb"}) {
        SCOPED_TRACE(file);
        CAdoXs db;
        db.OpenDb(Db(file));
        EXPECT_EQ(db.ConnectionStringInUse(), CAdoXs::ConnectionString(Db(file)));
        // Only the record with nIndex 39, not 139 or 390; its first two
        // characters have the codes 0 and 1.
        auto rs = Read(db, "select Data from tbl_ProjectConfiguration where nIndex = 39");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(Hex(rs->Field("data").Bytes()), "0001203532");
        rs = Read(db, "select nIndex, Data from tbl_ProjectConfiguration where nIndex = 4");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->Field("Data").Bytes().size(), 190u);
        EXPECT_EQ(Hex(rs->Field("Data").Bytes()).substr(0, 12), "008057440001");
        EXPECT_EQ(rs->Field("nIndex").Text(), "4");
        // A memo NULL and a memo "".
        rs = Read(db, "select Data from tbl_ProjectConfiguration where nIndex = 5");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_TRUE(rs->Field(0).IsNull());
        rs = Read(db, "select Data from tbl_ProjectConfiguration where nIndex = 40");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_FALSE(rs->Field(0).IsNull());
        EXPECT_EQ(rs->Field(0).Text(), "");

        rs = Read(db, "select Rack_ID, Desc1 from Rack");
        ASSERT_EQ(rs->RecordCount(), 7);
        EXPECT_EQ(rs->FieldName(0), "Rack_ID");
        std::vector<std::string> seen;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            seen.push_back(rs->Field("Desc1").IsNull() ? "NULL"
                                                       : "'" + rs->Field("Desc1").Text() + "'");
        EXPECT_EQ(seen, (std::vector<std::string>{"'318RCK0801'", "'318RCK7701'", "'318 RKX 0601'",
                                                  "''", "NULL", "'318RCK0401'", "'   '"}));
        rs->MoveLast();
        EXPECT_EQ(rs->Field("rack_id").Text(), "1.6.1");
        rs->MoveNext();
        EXPECT_TRUE(rs->Eof());
        EXPECT_EQ(CatchError([&] { rs->Field(0); }).Number(), ErrNum::kPastEnd);
        EXPECT_EQ(CatchError([&] { rs->Field("Desc9"); }).Number(), ErrNum::kSubscript);
    }
}

TEST(CAdoXs, LongValueWholeAndCheckedAgainstItsHeader) {
    CAdoXs db;
    db.OpenDb(Db("05_long_document.mdb"));
    auto rs = Read(db, "select nIndex, Data from tbl_ProjectConfiguration where nIndex = 4");
    ASSERT_EQ(rs->RecordCount(), 1);
    const std::vector<uint8_t> bytes = rs->Field("Data").Bytes();
    ASSERT_EQ(bytes.size(), 23144u);
    // The last record: rack 4, slot 16, id 801 (0x321), three extension words.
    EXPECT_EQ(Hex({bytes.end() - 20, bytes.end()}), "04100321053f0000013f00000003010001010102");

    // Cut inside the value's page chain: missing pages read as zeros.
    CAdoXs cut;
    cut.OpenDb(Db("07e_truncated_long_value.mdb"));
    EXPECT_EQ(Read(cut, "select Rack_ID, Desc1 from Rack")->RecordCount(), 2);
    const CVellError e = CatchError(
        [&] { Read(cut, "select nIndex, Data from tbl_ProjectConfiguration where nIndex = 4"); });
    EXPECT_EQ(e.Number(), ErrNum::kDeviceIo);
    EXPECT_NE(e.Source().find("AdoXs.GetRecordSetEx"), std::string::npos);
}

TEST(CAdoXs, StoredForms) {
    // Names in other letter cases; a compressed piece (FF FE form).
    CAdoXs db;
    db.OpenDb(Db("02_split_records.mdb"));
    auto rs = Read(db, "select nIndex, Data from tbl_ProjectConfiguration where nIndex = 4");
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(Hex(rs->Field("DATA").Bytes()), "02fe0102012d111122223333444401015a5a");
    rs = Read(db, "select Data from tbl_ProjectConfiguration where nIndex = 39");
    EXPECT_EQ(Hex(rs->Field(0).Bytes()), "00ff31322e36");

    // A Text(255) column holding binary text, and text columns without
    // compression.
    CAdoXs text;
    text.OpenDb(Db("11_text_data_column.mdb"));
    rs = Read(text, "select nIndex, Data from tbl_ProjectConfiguration where nIndex = 4");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Field("Data").Bytes().size(), 34u);
    EXPECT_EQ(Hex(rs->Field("Data").Bytes()).substr(0, 8), "01410102");
    rs->MoveNext();
    EXPECT_EQ(Hex(rs->Field("Data").Bytes()).substr(0, 12), "004100000000");
    rs = Read(text, "select Slot_ID, Desc1 from Slot");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Field("Desc1").Text(), "318AOU0820");
}

TEST(CAdoXs, ConnectionLifeCycle) {
    CAdoXs db;
    EXPECT_EQ(CatchError([&] { db.GetRecordSet("select Rack_ID from Rack", 1); }).Number(),
              ErrNum::kObjectNotSet);
    db.OpenDb(Db("01_normal.mdb"));
    // A second open while connected stays on the first database.
    db.OpenDb(Db("03_no_processor_type.mdb"));
    auto rs = db.GetRecordSet("select Rack_ID, Desc1 from Rack", 3);
    EXPECT_EQ(rs->RecordCount(), 7);
    EXPECT_TRUE(rs->Disconnected());
    EXPECT_EQ(rs->LockType(), CAdoXs::kLockOptimistic);
    EXPECT_EQ(db.GetRecordSet("select * from Rack", 2)->CursorType(), CAdoXs::kCursorDynamic);
    EXPECT_EQ(db.GetRecordSet("select * from Rack", 1)->LockType(), CAdoXs::kLockReadOnly);
    EXPECT_EQ(db.GetRecordSet("select * from Rack", 7)->FieldCount(), 5);
    db.CloseDb();
    // Still readable after the connection closed.
    rs->MoveLast();
    EXPECT_EQ(rs->Field("Rack_ID").Text(), "1.6.1");
    // Closed, it opens again, on another database.
    db.OpenDb(Db("03_no_processor_type.mdb"));
    EXPECT_EQ(db.GetRecordSet("select Rack_ID from Rack", 1)->RecordCount(), 1);
    db.CloseDb();
    db.CloseDb();
}

TEST(CAdoXs, Failures) {
    test::TempDir tmp;
    struct Case {
        std::string path;
        int32_t number;
    } cases[] = {
        {tmp.File("missing.mdb"), ErrNum::kFileNotFound},
        {tmp.Str(), ErrNum::kFileNotFound},
        {tmp.Write("empty.mdb", ""), ErrNum::kDeviceIo},
        {Db("07a_not_a_database.mdb"), ErrNum::kPathFileAccess},
        {Db("07c_truncated.mdb"), ErrNum::kDeviceIo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CAdoXs db;
        std::vector<std::string> info;
        db.EvtAdoInfoMessage.Subscribe([&](const std::string& m) { info.push_back(m); });
        const CVellError e = CatchError([&] { db.OpenDb(c.path); });
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(info, std::vector<std::string>{db.AdoInfoText(e.Number(), e.Description())});
        EXPECT_NE(info[0].find("in connection " + CAdoXs::ConnectionString(c.path)),
                  std::string::npos);
        EXPECT_EQ(e.Source(), "VellCfgRdr > AdoXs.Connect");
        EXPECT_FALSE(db.IsOpen());
    }

    CAdoXs db;
    db.OpenDb(Db("07b_no_project_tables.mdb"));
    EXPECT_EQ(CatchError([&] {
                  db.GetRecordSetEx("select Data from tbl_ProjectConfiguration where nIndex = 39",
                                    3, 1, true);
              }).Number(),
              ErrNum::kSubscript);
    EXPECT_EQ(CatchError([&] { db.GetRecordSet("select Nope from Notes", 1); }).Number(),
              ErrNum::kSubscript);
    for (const char* sql :
         {"", "select", "select from Notes", "select Body Notes", "select Body from Notes where ID",
          "select Body from Notes where ID = x", "select Body from Notes where ID = 1 and 2",
          "delete from Notes", "select Body from Notes where ID = '1"}) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(CatchError([&] { db.GetRecordSet(sql, 1); }).Number(), ErrNum::kInvalidCall);
    }
    auto rs = db.GetRecordSet("SELECT [Body] FROM notes WHERE id = 2;", 1);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_TRUE(rs->Field(0).IsNull());
    rs = db.GetRecordSet("select Value from tbl_Settings where Name = 'units'", 1);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Field(0).Text(), "metric");
    EXPECT_EQ(db.GetRecordSet("select ID from Notes where ID = -1", 1)->RecordCount(), 0);
    EXPECT_TRUE(rs->Bof() == false);
}

TEST(CAdoValue, BytesOfBinaryText) {
    EXPECT_EQ(CAdoValue(std::u16string(u"\x00\x7f\xff", 3)).Bytes().size(), 3u);
    // A writer that went through Windows-1252 stored byte 0x80 as the euro sign.
    EXPECT_EQ(CAdoValue(u"\u20ac\u0178").Bytes(), (std::vector<uint8_t>{0x80, 0x9f}));
    EXPECT_EQ(CatchError([] { CAdoValue(u"\u0100").Bytes(); }).Number(), ErrNum::kTypeMismatch);
    EXPECT_EQ(CAdoValue(u"caf\u00e9 \U0001F600").Text(), "caf\xc3\xa9 \xf0\x9f\x98\x80");
    EXPECT_TRUE(CAdoValue().Bytes().empty());
}

// Found by fuzzing: the catalogue table's usage map pointer moved to an
// empty row. mdbtools would read through the missing map; it is refused.
TEST(CAdoXs, CatalogueWithoutUsageMap) {
    std::string bytes = test::ReadBytes(Db("11_text_data_column.mdb"));
    for (const size_t at : {8247, 8635, 9231})
        bytes[at] = 0x40;
    test::TempDir tmp;
    CAdoXs db;
    EXPECT_EQ(CatchError([&] { db.OpenDb(tmp.Write("no_usage_map.mdb", bytes)); }).Number(),
              ErrNum::kDeviceIo);
}

}  // namespace
}  // namespace vellcfgrdr
