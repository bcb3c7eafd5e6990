#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "readers/CReadCtrlLogixXml.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

struct Converted {
    int32_t status = 0;
    std::string xml;
};

Converted Convert(const std::string& path) {
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    CPlcCfgReader reader;
    Converted c;
    c.status = reader.ReadIOmap(path);
    c.xml = reader.Xml();
    return c;
}

std::string WithoutFileName(const std::string& xml) {
    return std::regex_replace(xml, std::regex("(fileName|path)=\"[^\"]*\""), "$1=\"\"");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
        text.replace(p, from.size(), to);
    return text;
}

// One reading of an XML export written to a temporary file.
struct L5xRun {
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.L5X", text));
        return CReadCtrlLogixXml().GetIoConfig(cfg_);
    }
    std::string At(int32_t drop, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, drop, 1, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

std::string Export(const std::string& modules, const std::string& target = "Controller") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<RSLogix5000Content SchemaRevision=\"1.0\" TargetType=\"" +
           target + "\">\r\n<Controller Name=\"C\" ProcessorType=\"1756-L72\">\r\n<Modules>\r\n" +
           modules + "</Modules>\r\n</Controller>\r\n</RSLogix5000Content>\r\n";
}

std::string Module(const std::string& name, const std::string& parent, const std::string& catalog,
                   const std::string& ports) {
    return "<Module Name=\"" + name + "\" CatalogNumber=\"" + catalog + "\" ParentModule=\"" +
           parent + "\" ParentModPortId=\"1\">\r\n<Ports>\r\n" + ports +
           "</Ports>\r\n</Module>\r\n";
}

const std::string kLocal = Module(
    "Local", "Local", "1756-L72",
    "<Port Id=\"1\" Address=\"0\" Type=\"ICP\" Upstream=\"false\"><Bus Size=\"7\"/></Port>\r\n");

std::string InSlot(const std::string& slot) {
    return "<Port Id=\"1\" Address=\"" + slot + "\" Type=\"ICP\" Upstream=\"true\"/>\r\n";
}

}  // namespace

// Both exports of one project give one document, whatever the case.
TEST(CtrlLogixXmlSamples, TextAndXmlExportsOfOneProjectGiveTheSameDocument) {
    std::vector<std::pair<std::string, std::string>> pairs = {
        {VELL_TEST_DATA "/samples/rockwell/controller_plc.L5K",
         VELL_TEST_DATA "/samples/rockwell/controller_plc.L5X"}};
    for (const auto& entry : fs::directory_iterator(VELL_TEST_DATA "/e2e/controllogix_xml")) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("_xml.L5X")) continue;
        // The bundled example stands for its own text export.
        fs::path text = fs::path(VELL_TEST_DATA "/e2e/controllogix") /
                        (name.substr(0, name.size() - 8) + ".L5K");
        if (!fs::exists(text))
            text = fs::path(VELL_SOURCE_DIR) / "examples/controllogix" / text.filename();
        pairs.emplace_back(text.string(), entry.path().string());
    }
    ASSERT_GE(pairs.size(), 6u);
    for (const auto& [text, xml] : pairs) {
        const Converted a = Convert(text), b = Convert(xml);
        EXPECT_EQ(a.status, b.status) << xml;
        EXPECT_EQ(WithoutFileName(a.xml), WithoutFileName(b.xml)) << xml;
        EXPECT_NE(a.xml, b.xml) << xml;  // the file names differ
    }
}

TEST(CtrlLogixXmlSamples, RealXmlExportsGiveTheExpectedDocuments) {
    const std::string dir = VELL_TEST_DATA "/samples/rockwell";
    for (const auto& [name, status] :
         {std::pair<std::string, int32_t>{"l5sharp_test", 0}, {"l5sharp_local_mod_9", 14003}}) {
        const Converted c = Convert(dir + "/" + name + ".L5X");
        EXPECT_EQ(c.status, status) << name;
        const std::string expected = test::ReadBytes(VELL_TEST_DATA "/readers/" + name + ".xml");
        EXPECT_EQ(c.xml, Replace(expected, "{dir}", dir)) << name;
    }
}

TEST(CtrlLogixXml, PortsGiveSlotsChassisAndNetworks) {
    L5xRun run;
    EXPECT_EQ(
        run.Read(Export(
            kLocal + Module("In", "Local", "1756-IB16/A", InSlot("3")) +
            Module("Drive", "Local", "PowerFlex 525-EENET",
                   "<Port Id=\"2\" Address=\"10.0.0.9\" Type=\"Ethernet\" Upstream=\"true\"/>") +
            Module("Bad", "Local", "1756-OB16D", InSlot("3x")))),
        14003);
    EXPECT_EQ(run.cfg_.PlcName(), "1756-L72");
    EXPECT_EQ(run.cfg_.RackList().rackName(0, 1, 1), "1756-A7");
    EXPECT_EQ(run.At(1, 3), "1756-IB16");
    EXPECT_EQ(run.At(2, 1), "PowerFlex525EENET");
    EXPECT_EQ(run.cfg_.RackList().rackName(0, 2, 1), "no chassis");
    EXPECT_EQ(
        run.messages_,
        (std::vector<std::string>{
            "Module Bad (1756-OB16D) left out: its Address 3x is not a number from 0 to 32767",
            "Unknown module: 'PowerFlex 525-EENET' (drop 2, rack 1, slot 1)"}));
}

TEST(CtrlLogixXml, HostileAndForeignDocuments) {
    const std::string unknown = "Unsupported or unknown file format: ";
    for (const std::string& text :
         {std::string("<?xml version=\"1.0\"?>\r\n<!DOCTYPE RSLogix5000Content [<!ENTITY a "
                      "\"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>\r\n") +
              Export(Module("Local", "Local", "&b;", "")).substr(56),
          Export(kLocal).substr(0, 200), std::string("<Project><Module Name=\"Local\"/></Project>"),
          std::string("\x01\x02 not xml")}) {
        L5xRun run;
        EXPECT_EQ(run.Read(text), 321);
        ASSERT_EQ(run.messages_.size(), 1u);
        EXPECT_EQ(run.messages_[0].rfind(unknown, 0), 0u) << run.messages_[0];
        EXPECT_EQ(run.cfg_.ModuleList().Count(), 0);
    }
    // Deep nesting and a huge attribute are read for what they hold.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<Tag>";
    for (int i = 0; i < 100000; ++i)
        deep += "</Tag>";
    L5xRun nested;
    EXPECT_EQ(nested.Read(Export(kLocal + "<Tags>" + deep + "</Tags>\r\n")), 0);
    EXPECT_EQ(nested.At(1, 0), "1756-L72");
    L5xRun huge;
    EXPECT_EQ(huge.Read(Export(kLocal + Module("In", "Local", "1756-IB16", InSlot("2")) +
                               "<Tag Description=\"" + std::string(100u << 20, 'x') + "\"/>\r\n")),
              0);
    EXPECT_EQ(huge.At(1, 2), "1756-IB16");
}

TEST(CtrlLogixXml, PartialExportsWarnThatNoControllerIsPresent) {
    L5xRun run;
    const std::string modules = Module("In", "Local", "1756-IB16", InSlot("2"));
    EXPECT_EQ(
        run.Read("<RSLogix5000Content TargetType=\"Module\">" + modules + "</RSLogix5000Content>"),
        14003);
    EXPECT_EQ(run.messages_, std::vector<std::string>{"No controller in this export (Module): its "
                                                      "modules are read without one"});
    EXPECT_EQ(run.At(1, 2), "1756-IB16");
    EXPECT_EQ(run.cfg_.PlcName(), "");
    L5xRun program;  // a program's export: the controller is context only
    EXPECT_EQ(program.Read(Export(kLocal, "Program")), 14003);
    EXPECT_EQ(program.messages_.size(), 1u);
    L5xRun unnamed;  // no target type: a controller is a controller
    EXPECT_EQ(unnamed.Read(Export(kLocal, "")), 0);
    EXPECT_TRUE(unnamed.messages_.empty());
}
