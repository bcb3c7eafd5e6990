// Whole exports are golden cases (tests/data/e2e/controllogix); these are
// the attribute parser alone, and exports too large to keep as files.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/CReadCtrlLogix.h"
#include "support/CTextReader.h"

using namespace vellcfgrdr;

namespace {

// One MODULE block as the programming tool writes it.
std::string Module(const std::string& name, const std::string& parent, const std::string& catalog,
                   const std::string& slot, const std::string& extra = "") {
    return "\tMODULE " + name + " (Parent := \"" + parent +
           "\",\r\n\t\tParentModPortId := 1,\r\n\t\tCatalogNumber := \"" + catalog + "\",\r\n" +
           extra + "\t\tSlot := " + slot + ")\r\n\tEND_MODULE\r\n";
}

std::string Export(const std::string& modules) {
    return "\xEF\xBB\xBFIE_VER := 2.28;\r\n\r\nCONTROLLER Test (ProcessorType := "
           "\"1756-L72\",\r\n\t\tMajor := 33)\r\n" +
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
    std::string Rack(int32_t drop, int32_t rack) const {
        return cfg_.RackList().rackName(0, drop, rack);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

class CtrlLogixTest : public ::testing::Test, public L5kRun {};

}  // namespace

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
