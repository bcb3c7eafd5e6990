#include <gtest/gtest.h>

#include "TestUtil.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;

namespace {

class PlcCfgReaderTest : public ::testing::Test {
  protected:
    PlcCfgReaderTest() {
        reader_.EvtInfoMessage.Subscribe(
            [this](const std::string& t, eMessageLevel l, const std::string& s) {
                messages_.push_back(std::to_string(l) + " " + s + ": " + t);
            });
    }
    test::TempDir dir_;
    CPlcCfgReader reader_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(PlcCfgReaderTest, MissingFileRaises53WithoutAMessage) {
    const std::string path = dir_.File("absent.slc");
    const CVellError e = test::CatchError([&] { reader_.ReadIOmap(path); });
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), "File not found - " + path);
    EXPECT_EQ(e.Source(), "VellCfgRdr > PlcCfgReader.ReadIOmap");
    EXPECT_TRUE(messages_.empty());
    // Whatever the extension: the file test comes first.
    EXPECT_EQ(test::CatchError([&] { reader_.ReadIOmap(dir_.File("absent.txt")); }).Number(), 53);
}

TEST_F(PlcCfgReaderTest, EachReadStartsFromAnEmptyConfiguration) {
    EXPECT_EQ(reader_.ReadIOmap(dir_.Write("a.SLC", "start 1747-L532\nslot 1 1746-IB16\n")), 0);
    EXPECT_NE(reader_.Xml().find("1746-IB16"), std::string::npos);
    EXPECT_EQ(reader_.ReadIOmap(dir_.Write("b.slc", "start 1747-L514\n")), 0);
    const std::string xml = reader_.Xml();
    EXPECT_EQ(xml.find("1746-IB16"), std::string::npos);
    EXPECT_NE(xml.find("1747-L514"), std::string::npos);
    // A failed read leaves an empty configuration behind, still writable.
    EXPECT_THROW(reader_.ReadIOmap(dir_.File("gone.slc")), CVellError);
    EXPECT_NE(reader_.Xml().find("<plc type=\"Invalid or unsupported PLC family\""),
              std::string::npos);
}

TEST_F(PlcCfgReaderTest, AReadFromAMessageHandlerIsRefusedAsBusy) {
    const std::string first = dir_.Write("a.slc", "start 1747-L532\nslot 1 1746-IB16\n");
    const std::string second = dir_.Write("b.slc", "start 1747-L514\n");
    std::vector<int32_t> refused;
    reader_.EvtInfoMessage.Subscribe([&](const std::string&, eMessageLevel, const std::string&) {
        try {
            reader_.ReadIOmap(second);
        } catch (const CVellError& e) {
            refused.push_back(e.Number());
            EXPECT_NE(e.Description().find("the reader is busy"), std::string::npos);
        }
    });
    EXPECT_EQ(reader_.ReadIOmap(first), 0);
    ASSERT_FALSE(refused.empty());
    EXPECT_EQ(refused.front(), 5);
    // The outer read was not disturbed, and the reader reads again afterwards.
    EXPECT_NE(reader_.Xml().find("1746-IB16"), std::string::npos);
    refused.clear();
    EXPECT_EQ(reader_.ReadIOmap(second), 0);
    EXPECT_EQ(refused, std::vector<int32_t>(refused.size(), 5));
}
