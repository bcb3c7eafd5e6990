#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadCtrlLogix.h"
#include "support/CTextReader.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;

namespace {

// One MODULE block as the programming tool writes it.
std::string Module(const std::string& name, const std::string& parent, const std::string& catalog,
                   const std::string& slot, const std::string& extra = "") {
    return "\tMODULE " + name + " (Parent := \"" + parent +
           "\",\r\n\t\tParentModPortId := 1,\r\n\t\tCatalogNumber := \"" + catalog + "\",\r\n" +
           extra + "\t\tSlot := " + slot + ")\r\n\tEND_MODULE\r\n";
}

std::string Export(const std::string& modules, const std::string& version = "2.28") {
    return "\xEF\xBB\xBFIE_VER := " + version +
           ";\r\n\r\nCONTROLLER Test (ProcessorType := \"1756-L72\",\r\n\t\tMajor := 33)\r\n" +
           modules + "END_CONTROLLER\r\n";
}

std::string LocalController(const std::string& size = "10") {
    return Module("Local", "Local", "1756-L72", "0", "\t\tChassisSize := " + size + ",\r\n");
}

// One reading of an export written to a temporary file.
struct L5kRun {
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.L5K", text));
        return CReadCtrlLogix().GetIoConfig(cfg_);
    }
    std::string At(int32_t drop, int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, drop, rack, slot);
    }
    std::string Rack(int32_t drop, int32_t rack) const {
        return cfg_.RackList().rackName(0, drop, rack);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

class CtrlLogixTest : public ::testing::Test, public L5kRun {};

std::string Convert(const std::string& path) {
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    CPlcCfgReader reader;
    EXPECT_EQ(reader.ReadIOmap(path), 0);
    return reader.Xml();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
        text.replace(p, from.size(), to);
    return text;
}

}  // namespace

// The real exports themselves are golden cases of tests/component/TestEndToEnd.cpp.
TEST(CtrlLogixSamples, WithoutByteOrderMarkOrCarriageReturnsTheSame) {
    const std::string original = std::string(VELL_TEST_DATA "/samples/rockwell/simulator_plc.L5K");
    std::string bytes = test::ReadBytes(original);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    bytes = Replace(bytes.substr(3), "\r\n", "\n");
    test::TempDir dir;
    const std::string copy = dir.Write("simulator_plc.L5K", bytes);
    EXPECT_EQ(Replace(Convert(copy), dir.Str(), "D"),
              Replace(Convert(original), std::string(VELL_TEST_DATA "/samples/rockwell"), "D"));
}

TEST_F(CtrlLogixTest, VersionCheck) {
    EXPECT_EQ(Read(Export(LocalController(), "2.1")), 321);
    EXPECT_EQ(messages_,
              std::vector<std::string>{"ControlLogix version  := 2.1; is not supported"});
    EXPECT_EQ(cfg_.ModuleList().Count(), 0);
    for (const char* version : {"2.2", "2.11"}) {
        L5kRun run;
        EXPECT_EQ(run.Read(Export(LocalController(), version)), 0) << version;
        EXPECT_EQ(run.At(1, 1, 0), "1756-L72") << version;
    }
}

TEST_F(CtrlLogixTest, ChassisHeadsAreDropsOfTheirOwn) {
    const std::string text = Export(
        LocalController("13") + Module("Bridge", "Local", "1756-EN2T/D", "1") +
        Module("Remote", "Bridge", "1756-EN2TR", "0", "\t\tChassisSize := 4,\r\n") +
        Module("Odd", "Bridge", "1756-EN2TR", "3", "\t\tChassisSize := 12,\r\n") +
        Module("RIO", "Remote", "RIO-MODULE", "2", "\t\tDescription := \"1771-ASB$remote\",\r\n") +
        Module("Out", "Remote", "1756-OB16E/A", "1"));
    EXPECT_EQ(Read(text), 0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(cfg_.PlcName(), "1756-L72");
    EXPECT_EQ(Rack(1, 1), "1756-A13");  // a chassis size that exists is named as it is
    EXPECT_EQ(At(1, 1, 0), "1756-L72");
    EXPECT_EQ(At(1, 1, 1), "1756-EN2T");
    // Each head sits in its own chassis at its own slot, with its modules.
    EXPECT_EQ(Rack(2, 1), "1756-A4");
    EXPECT_EQ(At(2, 1, 0), "1756-EN2TR");
    EXPECT_EQ(At(2, 1, 2), "1771-ASB");
    EXPECT_EQ(At(2, 1, 1), "1756-OB16E");
    EXPECT_EQ(Rack(3, 1), "1756-A17");  // no 12-slot chassis: the next one up
    EXPECT_EQ(At(3, 1, 3), "1756-EN2TR");
    EXPECT_EQ(cfg_.DropList().Count(), 3);
}

TEST_F(CtrlLogixTest, AttributesAreReadAsAttributes) {
    // All on the MODULE line; names inside quoted values are text; commas
    // and parentheses inside quotes and brackets belong to their value.
    const std::string text = Export(
        "\tMODULE Local (Parent := \"Local\", ParentModPortId := 1, CatalogNumber := "
        "\"1756-L72\", ChassisSize := 7, Slot := 0)\r\n\tEND_MODULE\r\n"
        "\tMODULE Spare (Description := \"Slot 3 spare inputs, (Parent := x)\",\r\n"
        "\t\tParent := \"Local\", CatalogNumber := \"1756-IB16\", Mode := [1,2,(3)],\r\n"
        "\t\tPortLabel := \"RxBACKPLANE\", Slot := 4)\r\n"
        "\t\t\tConfigData := [28,16,0];\r\n"
        "\t\t\tCONNECTION Input (Rate := 20000)\r\n"
        "\t\t\t\tInputData (Description := \"Slot 9, Parent := Other\") := [0,0];\r\n"
        "\t\t\tEND_CONNECTION\r\n\tEND_MODULE\r\n");
    EXPECT_EQ(Read(text), 0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(Rack(1, 1), "1756-A7");
    EXPECT_EQ(At(1, 1, 0), "1756-L72");
    EXPECT_EQ(At(1, 1, 4), "1756-IB16");
    EXPECT_EQ(cfg_.ModuleList().Count(), 2);
}

TEST(CtrlLogixAttributes, ListsAcrossLinesAndBrokenLists) {
    auto read = [](const std::string& text, CReadCtrlLogix::Attributes& out) {
        CTextReader reader;
        reader.SetTrimWhiteSpace(true);
        reader.SetText(text);
        reader.GetNextLine();
        return CReadCtrlLogix::ReadAttributes(reader, out);
    };
    CReadCtrlLogix::Attributes a;
    EXPECT_TRUE(read("MODULE M (A := \"x, \"\"y\"\"\", B := $\"z\",\r\n C := \"1$\"2\")", a));
    EXPECT_EQ(a, (CReadCtrlLogix::Attributes{{"A", "x, \"y\""}, {"B", "$\"z\""}, {"C", "1$\"2"}}));
    a.clear();
    // A stray quote ends with its line; an unclosed list at the next END_.
    EXPECT_TRUE(read("MODULE M (A := \"open,\r\n B := 2\r\nEND_MODULE\r\n", a));
    EXPECT_EQ(a, (CReadCtrlLogix::Attributes{{"A", "open, B := 2"}}));
    a.clear();
    EXPECT_FALSE(read("MODULE M (A := 1,\r\n B := 2", a));
}

TEST_F(CtrlLogixTest, EmptyCatalogNumberTakesTheProcessorType) {
    EXPECT_EQ(Read(Export(Module("Local", "Local", "", "2", "\t\tChassisSize := 10,\r\n"))), 0);
    EXPECT_EQ(cfg_.PlcName(), "1756-L72");
    EXPECT_EQ(At(1, 1, 2), "1756-L72");
    EXPECT_EQ(Rack(1, 1), "1756-A10");
}

TEST_F(CtrlLogixTest, TooManyDropsWarnOnceWithTheCountLeftOut) {
    std::string modules = LocalController();
    const std::string size = "\t\tPortLabel := \"ENet\",\r\n\t\tChassisSize := 4,\r\n";
    for (int i = 0; i < 32768; ++i)
        modules += Module("R" + std::to_string(i), "Local", "1756-EN2TR", "0", size);
    modules += Module("In", "R32767", "1756-IB16", "1");  // in a chassis left out
    EXPECT_EQ(Read(Export(modules)), 14003);
    EXPECT_EQ(cfg_.DropList().Count(), 32767);
    EXPECT_EQ(messages_,
              std::vector<std::string>{"3 modules left out: a project holds at most 32767 drops"});
}

TEST_F(CtrlLogixTest, ControllerNamesThatAreNotParts) {
    EXPECT_EQ(Read(Export(Module("Local", "Local", "1756-L8", "0"))), 0);
    EXPECT_EQ(cfg_.PlcName(), "1756-L81E");  // the first processor starting with it
    L5kRun second;
    EXPECT_EQ(second.Read(Export(Module("Local", "Local", "1756-L69", "0"))), 0);
    EXPECT_EQ(second.cfg_.PlcName(), "1756-L6x");  // the family's pattern
    L5kRun third;  // no "Local" module: the processor type names the PLC
    EXPECT_EQ(third.Read(Export(Module("Out", "Rack0", "1756-OB32", "3"))), 0);
    EXPECT_EQ(third.cfg_.PlcName(), "1756-L72");
    EXPECT_EQ(third.At(1, 1, 0), "1756-L72");
}

TEST_F(CtrlLogixTest, OccupiedPositionsKeepTheFirstModuleAndWarn) {
    EXPECT_EQ(Read(Export(LocalController() + Module("A", "Local", "1756-IB16", "2") +
                          Module("B", "Local", "1756-OB16D", "2"))),
              14003);
    EXPECT_EQ(At(1, 1, 2), "1756-IB16");
    EXPECT_EQ(
        messages_,
        std::vector<std::string>{
            "Module B (1756-OB16D) left out: drop 1, rack 1, slot 2 already holds 1756-IB16"});
}

TEST_F(CtrlLogixTest, PortLabelsWithRackNumbers) {
    const std::string label = "\t\tPortLabel := \"RxBACKPLANE\",\r\n";
    EXPECT_EQ(
        Read(Export(LocalController() + Module("A", "Local", "1756-IB16", "2", label) +
                    Module("B", "Local", "1756-OB32", "3", "\t\tPortLabel := \"Rack 02\",\r\n") +
                    Module("C", "Local", "1756-IF8", "4"))),
        0);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(At(1, 1, 2), "1756-IB16");
    EXPECT_EQ(At(1, 2, 3), "1756-OB32");
    EXPECT_EQ(At(1, 2, 4), "1756-IF8");  // the rack stays in force for the drop
    EXPECT_EQ(Rack(1, 2), "1756-A10");
}

TEST_F(CtrlLogixTest, BrokenFiles) {
    // A block the text ends inside is lost, nothing else, and said.
    std::string text = Export(LocalController() + Module("A", "Local", "1756-IB16", "2"));
    text = text.substr(0, text.find("END_CONTROLLER")) +
           "\tMODULE B (Parent := \"Local\",\r\n\t\tSlot := 3,\r\n";
    EXPECT_EQ(Read(text), 14003);
    EXPECT_EQ(messages_,
              std::vector<std::string>{"The file ends inside a block that is not closed"});
    EXPECT_EQ(At(1, 1, 2), "1756-IB16");
    EXPECT_EQ(At(1, 1, 3), "");

    L5kRun slot;
    EXPECT_EQ(slot.Read(Export(LocalController() + Module("A", "Local", "1756-IB16", "two"))), 13);
    EXPECT_EQ(slot.messages_, std::vector<std::string>{"Type mismatch - two"});
    EXPECT_EQ(slot.At(1, 1, 0), "");  // nothing placed: the reading ended in the file

    L5kRun junk;
    EXPECT_EQ(junk.Read(std::string("\x01\x02PK\x03\x04 binary\xFF\xFE", 14)), 321);
    ASSERT_EQ(junk.messages_.size(), 1u);
    EXPECT_EQ(junk.messages_[0].rfind("Unsupported or unknown file format: ", 0), 0u);
}

TEST_F(CtrlLogixTest, ManyModulesStayLinear) {
    std::string modules = LocalController();
    for (int i = 0; i < 100000; ++i)
        modules += Module("M" + std::to_string(i), "Adapter" + std::to_string(i / 16), "1756-IB16",
                          std::to_string(i % 16));
    EXPECT_EQ(Read(Export(modules)), 0);
    EXPECT_EQ(cfg_.DropList().Count(), 1 + 100000 / 16);
    EXPECT_EQ(cfg_.ModuleList().Count(), 100001);
}

// The boundaries of the chassis choice for sizes that are no part: below 8
// the 7-slot chassis, 8 to 10 the 10-slot one, above that the 17-slot one.
TEST_F(CtrlLogixTest, ChassisSizeBoundaries) {
    for (const auto& [size, part] : std::vector<std::pair<std::string, std::string>>{
             {"6", "1756-A7"}, {"8", "1756-A10"}, {"9", "1756-A10"}, {"11", "1756-A17"}}) {
        L5kRun run;
        EXPECT_EQ(run.Read(Export(LocalController(size))), 0);
        EXPECT_EQ(run.Rack(1, 1), part) << size;
    }
}
