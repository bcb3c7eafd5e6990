#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadXEF.h"

using namespace vellcfgrdr;

namespace {

// An element with its part number and position, as the exchange file writes it.
std::string Item(const std::string& tag, const std::string& part, int position,
                 const std::string& inner = "", const std::string& attributes = "") {
    return "<" + tag + attributes + "><partItem partNumber=\"" + part +
           "\"/><equipInfo position=\"" + std::to_string(position) + "\"/>" + inner + "</" + tag +
           ">";
}

std::string Plc(const std::string& root, const std::string& cpu, const std::string& family,
                const std::string& config) {
    const std::string familyAttr = family.empty() ? "" : " family=\"" + family + "\"";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root +
           "><IOConf><PLC><partItem partNumber=\"" + cpu + "\"" + familyAttr + "/>" + config +
           "</PLC></IOConf></" + root + ">";
}

class XefTest : public ::testing::Test {
  protected:
    int32_t Read(const std::string& text, const std::string& name = "p.xef") {
        test::AttachShippedParts(cfg_);
        cfg_.EvtInfoMessage.Subscribe(
            [this](const std::string& t, eMessageLevel l, const std::string& source) {
                if (l == eMsgWarning || l == eMsgError) messages_.push_back(source + ": " + t);
            });
        cfg_.SetProjectFileName(dir_.Write(name, text));
        return CReadXEF().GetIoConfig(cfg_);
    }
    // The list is walked, as its look-up refuses rack 0.
    std::string At(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const {
        for (const auto& m : cfg_.ModuleList())
            if (m.BusNum() == bus && m.DropNum() == drop && m.rackNum() == rack &&
                m.Slotnum() == slot)
                return m.PartName();
        return {};
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(XefTest, KestrelConfiguration) {
    const std::string rack =
        Item("rackKestrel", "318RCK0801", 1,
             Item("powerSupply", "318PSU0824D", -1) +
                 Item("moduleKestrel", "318P2411", 2, "", " UCMod=\"true\"") +
                 Item("moduleKestrel", "318DIN1624.01.2", 3) +
                 Item("moduleKestrel", "318DOU1624T", -1) + Item("moduleATS", "318AIN0820", 5));
    const std::string drop =
        Item("dropKestrel", "KestrelDropforDIO", 4,
             Item("moduleKestrel", "318RDA0200", 1) +
                 Item("rackKestrel", "318RCK0401", 0, Item("moduleKestrel", "318DIN0824", 1)));
    const std::string bus =
        "<busKestrel busType=\"Local Kestrel Bus\">"
        "<equipInfo position=\"0\"/>" +
        rack + drop + "</busKestrel>";
    EXPECT_EQ(Read(Plc("FEFExchangeFile", "318CPU2411", "Kestrel",
                       "<configKestrel><IOMapBlock>" + bus +
                           "<busATS busType=\"Tbus\"><equipInfo position=\"7\"/></busATS>"
                           "</IOMapBlock></configKestrel>")),
              0);
    EXPECT_EQ(cfg_.PlcFamily(), plcKestrel);
    EXPECT_EQ(cfg_.PlcName(), "318CPU2411");
    EXPECT_EQ(cfg_.RackList().rackName(0, 0, 1), "318RCK0801");
    EXPECT_EQ(At(0, 0, 1, skPower2), "318PSU0824D");  // a supply at -1
    EXPECT_EQ(At(0, 0, 1, 2), "318CPU2411");          // mapped as a CPU
    EXPECT_EQ(At(0, 0, 1, 3), "318DIN1624");          // both suffixes gone
    EXPECT_EQ(At(0, 0, 1, skCpu), "318DOU1624T");     // a module at -1
    EXPECT_EQ(At(0, 0, 1, 5), "318AIN0820");
    // Drop-level modules of a Kestrel drop lie in rack -1; Kestrel racks keep
    // their position.
    EXPECT_EQ(cfg_.DropList().DropByKey(0, 4)->IoFamily(), plcKestrel);
    EXPECT_EQ(At(0, 4, -1, 1), "318RDA0200");
    EXPECT_EQ(At(0, 4, 0, 1), "318DIN0824");
    // A Kestrel PLC reads its own flavour only.
    EXPECT_EQ(cfg_.BusList().BusByNum(7), nullptr);
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "CReadXEF: The part '318DIN1624.01.2' has been matched with part "
                             "'318DIN1624'"});
}

TEST_F(XefTest, OtherFamiliesReadBothFlavours) {
    const std::string atsBus =
        "<busATS busType=\"TbusOsprey\"><equipInfo position=\"1\"/>" +
        Item("rackATS", "RVNRCK0801", 0,
             Item("powerSupply", "RVNPSU0524D", 0) + Item("moduleATS", "RVNDIN1624", 3)) +
        Item("dropATS", "OspreyDropforEthernet", 2,
             Item("moduleATS", "RVNRDA0200", 0) + Item("rackATS", "RVNRCK0401", 1,
                                                       Item("auxiliaryRackATS", "anything", 0) +
                                                           Item("moduleATS", "RVNDOU1624T", 1))) +
        "</busATS>";
    const std::string others = "<busATS name=\"CANopen\"><equipInfo position=\"3\"/>" +
                               Item("rackATS", "RVNRCK0401", 0) + "</busATS>" +
                               "<busATS><equipInfo position=\"4\"/></busATS>" +
                               "<busKestrel busType=\"RIO bus\"><equipInfo position=\"5\"/>" +
                               Item("dropKestrel", "GarnetIODrop12", 1) + "</busKestrel>";
    EXPECT_EQ(Read(Plc("ZEFExchangeFile", "OSPE581513", "",
                       "<configATS>" + atsBus + others + "</configATS>")),
              0);
    EXPECT_EQ(cfg_.PlcFamily(), plcOsprey);
    // ATS racks count from position + 1; modules right below an ATS drop lie in rack 0.
    EXPECT_EQ(cfg_.RackList().rackName(1, 0, 1), "RVNRCK0801");
    EXPECT_EQ(At(1, 0, 1, 0), "RVNPSU0524D");
    EXPECT_EQ(At(1, 0, 1, 3), "RVNDIN1624");
    EXPECT_EQ(At(1, 2, 0, 0), "RVNRDA0200");
    // The auxiliary rack element replaces its rack.
    EXPECT_EQ(cfg_.RackList().rackName(1, 2, 2), "318RCK1601");
    EXPECT_EQ(At(1, 2, 2, 1), "RVNDOU1624T");
    EXPECT_EQ(cfg_.DropList().DropByKey(1, 2)->IoFamily(), plcRaven);
    // Other bus types stay without content; a bus without type is kept.
    EXPECT_EQ(cfg_.BusList().BusByNum(3)->Typename(), "CANopen");
    EXPECT_EQ(cfg_.RackList().rackName(3, 0, 1), "");
    EXPECT_NE(cfg_.BusList().BusByNum(4), nullptr);
    // The Kestrel flavour is read after the ATS one.
    EXPECT_EQ(cfg_.DropList().DropByKey(5, 1)->IoFamily(), plcGarnetSeries);
    EXPECT_EQ(messages_, (std::vector<std::string>{"CReadXEF: API Family not found, assumed Osprey",
                                                   "ScanBusses: CANopen unsupported",
                                                   "ScanBusses:  unsupported"}));
}

TEST_F(XefTest, DropFamilyCodesFromThePartNumber) {
    std::string drops;
    const char* parts[] = {"MDI_I/O-Bus_drop",  "FinchBasicDrop_Q2forEthernet",
                           "KestrelDropforDIO", "xGarnetIODrop",
                           "KestrelQSADrop2",   "SorrelDrop1",
                           "kestreldrop"};
    for (int i = 0; i < 7; ++i)
        drops += Item("dropATS", parts[i], i + 1);
    EXPECT_EQ(Read(Plc("FEFExchangeFile", "OSPE581513", "Osprey",
                       "<configATS><busATS busType=\"Tbus\"><equipInfo position=\"0\"/>" + drops +
                           "</busATS></configATS>")),
              0);
    const int32_t families[] = {plcUnsupported, plcRaven,  plcKestrel,    plcGarnetSeries,
                                plcKestrel,     plcSorrel, plcUnsupported};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(cfg_.DropList().DropByKey(0, i + 1)->IoFamily(), families[i]) << parts[i];
}

// Files of other formats, broken ones and entity declarations are golden
// cases (tests/data/e2e/cobalt, tests/bad/cobalt); the raised error's source
// is not recorded there.
TEST_F(XefTest, PlcOfNoFamilyRaises14001) {
    const CVellError e =
        test::CatchError([&] { Read(Plc("FEFExchangeFile", "Mystery", "", "<configATS/>")); });
    EXPECT_EQ(e.Number(), 14001);
    EXPECT_EQ(e.Source(), "VellCfgRdr > ReadXEF.GetCpuInfo");
}

namespace {

// A stored zip with the given entries, written by hand: enough for the reader,
// with no dependence on a zip writer.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    auto le = [](std::string& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto crc32 = [](const std::string& data) {
        uint32_t c = 0xFFFFFFFFu;
        for (unsigned char b : data) {
            c ^= b;
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return ~c;
    };
    std::string out, central;
    for (const auto& [name, data] : entries) {
        const auto offset = static_cast<uint32_t>(out.size());
        const uint32_t crc = crc32(data);
        const auto size = static_cast<uint32_t>(data.size());
        le(out, 0x04034b50, 4), le(out, 20, 2), le(out, 0, 2), le(out, 0, 2), le(out, 0, 4);
        le(out, crc, 4), le(out, size, 4), le(out, size, 4);
        le(out, static_cast<uint32_t>(name.size()), 2), le(out, 0, 2);
        out += name + data;
        le(central, 0x02014b50, 4), le(central, 20, 2), le(central, 20, 2), le(central, 0, 2);
        le(central, 0, 2), le(central, 0, 4), le(central, crc, 4), le(central, size, 4);
        le(central, size, 4), le(central, static_cast<uint32_t>(name.size()), 2);
        le(central, 0, 2), le(central, 0, 2), le(central, 0, 2), le(central, 0, 2);
        le(central, 0, 4), le(central, offset, 4);
        central += name;
    }
    const auto at = static_cast<uint32_t>(out.size());
    out += central;
    le(out, 0x06054b50, 4), le(out, 0, 2), le(out, 0, 2);
    le(out, static_cast<uint32_t>(entries.size()), 2),
        le(out, static_cast<uint32_t>(entries.size()), 2);
    le(out, static_cast<uint32_t>(central.size()), 4), le(out, at, 4), le(out, 0, 2);
    return out;
}

}  // namespace

TEST_F(XefTest, ZippedExportsLeaveNoFilesBehind) {
    test::TempDir tmp;
    test::EnvGuard guard("TMPDIR", tmp.Str().c_str());
    const std::string xef =
        Plc("ZEFExchangeFile", "318CPU2411", "Kestrel",
            "<configKestrel><IOMapBlock><busKestrel busType=\"Tbus\">"
            "<equipInfo position=\"1\"/></busKestrel></IOMapBlock></configKestrel>");
    // The extension decides in any letter case; the entry name too.
    EXPECT_EQ(Read(StoredZip({{"info.txt", "x"}, {"CobaltPro.xef", xef}}), "P.ZEF"), 0);
    EXPECT_EQ(cfg_.BusList().BusByNum(1)->Typename(), "Tbus");

    CIoConfig other;
    test::AttachShippedParts(other);
    std::vector<std::string> errors;
    test::RecordProblems(other, errors);
    other.SetProjectFileName(dir_.Write("none.zef", StoredZip({{"project.xef", xef}})));
    EXPECT_EQ(test::CatchError([&] { CReadXEF().GetIoConfig(other); }).Number(), 321);
    other.SetProjectFileName(dir_.Write("bad.zef", StoredZip({{"cobaltpro.xef", "<broken"}})));
    EXPECT_EQ(test::CatchError([&] { CReadXEF().GetIoConfig(other); }).Number(), 321);
    other.SetProjectFileName(dir_.Write("plain.zef", xef));
    EXPECT_EQ(test::CatchError([&] { CReadXEF().GetIoConfig(other); }).Number(), 321);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "The archive " + dir_.File("none.zef") + " holds no cobaltpro.xef");
    EXPECT_EQ(errors[1].rfind("parsing error in line 1 : ", 0), 0u) << errors[1];
    EXPECT_EQ(errors[2],
              "The archive " + dir_.File("plain.zef") + " cannot be unpacked: Not a zip archive");

    // The work folder lies in the temporary folder...
    {
        test::EnvGuard missing("TMPDIR", (tmp.Str() + "/missing").c_str());
        other.SetProjectFileName(dir_.File("P.ZEF"));
        EXPECT_EQ(test::CatchError([&] { CReadXEF().GetIoConfig(other); }).Number(), 76);
    }
    // ... and none of the four reads left one behind.
    for (const auto& e : std::filesystem::recursive_directory_iterator(tmp.Path()))
        EXPECT_EQ(e.path().string().find("ReadXEF"), std::string::npos) << e.path();
}
