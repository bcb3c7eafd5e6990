// Exports, good and bad, are golden cases (tests/data/e2e/controllogix_xml,
// tests/bad/controllogix_xml); these compare the two formats of one project,
// and read a document too large to keep as a file.
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

std::string Export(const std::string& modules) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<RSLogix5000Content SchemaRevision=\"1.0\" TargetType=\"Controller\">\r\n<Controller "
           "Name=\"C\" ProcessorType=\"1756-L72\">\r\n<Modules>\r\n" +
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

// Too large to keep as a file: a huge attribute is read for what it holds.
TEST(CtrlLogixXml, HugeAttribute) {
    L5xRun huge;
    EXPECT_EQ(huge.Read(Export(kLocal + Module("In", "Local", "1756-IB16", InSlot("2")) +
                               "<Tag Description=\"" + std::string(100u << 20, 'x') + "\"/>\r\n")),
              0);
    EXPECT_EQ(huge.At(1, 2), "1756-IB16");
}
