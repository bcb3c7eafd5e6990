#include <gtest/gtest.h>

#include "TestUtil.h"
#include "output/CXMLDocument.h"

using namespace vellcfgrdr;

TEST(CXMLDocument, BuildsAndFormatsWithTheFixedDeclaration) {
    CXMLDocument doc;
    pugi::xml_node root = doc.Create("configExchangeFile", "notice");
    doc.CreateAttribute(root, "version", "2.0");
    doc.CreateAttribute(root, "a", "1");
    doc.CreateAttribute(root, "version", "2.1");  // replaced in place
    pugi::xml_node child = doc.AppendChild(root, "project", "");
    doc.CreateAttribute(child, "fileName", "Réglé <&> \"x\"\x01");
    doc.AppendChild(child, "plc", "");
    EXPECT_EQ(doc.DocumentInfo("version"), "1.0");
    EXPECT_EQ(doc.FormattedXML(),
              "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
              "<!--notice-->\n"
              "<configExchangeFile version=\"2.1\" a=\"1\">\n"
              "  <project fileName=\"Réglé &lt;&amp;> &quot;x&quot;\xEF\xBF\xBD\">\n"
              "    <plc />\n"
              "  </project>\n"
              "</configExchangeFile>\n");
    // An empty text gives an element without content.
    EXPECT_EQ(doc.GetChildCount("/configExchangeFile/project/plc"), 0);
}

TEST(CXMLDocument, QueriesAndEditsByPath) {
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadString("<r>\n  <a x=\"1\">t</a>\n  <a x=\"2\"/>\n</r>"));
    EXPECT_EQ(doc.ParsingError(), "");
    EXPECT_EQ(doc.NodeCount("//a"), 2);
    EXPECT_EQ(doc.GetAttribute("a[2]", "x"), "2");
    EXPECT_EQ(doc.GetChildCount("/r"), 5);  // white-space text nodes count
    EXPECT_EQ(doc.GetChildValue("/r", 1), "t");
    EXPECT_EQ(doc.GetChildAttribute("/r", "x", 3), "2");
    EXPECT_TRUE(doc.SetAttribute("a[1]", "y", "z"));
    EXPECT_TRUE(doc.DeleteAttribute("a[1]", "x"));
    EXPECT_FALSE(doc.DeleteAttribute("a[9]", "x"));
    EXPECT_TRUE(doc.InsertNode("a[1]", "b", "", "k", "v", 0));  // a sibling
    EXPECT_TRUE(doc.InsertNode("b", "c", "txt", "", "", 1));    // a child
    EXPECT_TRUE(doc.SetNode("b/c", "new"));
    // Without a CDATA section first, the text is set and a section appended.
    EXPECT_TRUE(doc.SetCDataSection("a[2]", "cd"));
    EXPECT_EQ(doc.GetNodeAsString("/r"),
              "<r>\n  <a y=\"z\">t</a>\n  <a x=\"2\">cd<![CDATA[cd]]></a>\n"
              "<b k=\"v\"><c>new</c></b></r>");
    EXPECT_TRUE(doc.DeleteNode("b"));
    EXPECT_EQ(doc.NodeCount("b"), 0);
    EXPECT_EQ(doc.NodeCount("!!bad xpath"), 0);
    EXPECT_FALSE(doc.SelectSingleNode("nothing"));
    EXPECT_EQ(test::CatchError([&] { doc.GetChildCount("nothing"); }).Number(), 91);
    EXPECT_EQ(test::CatchError([&] { doc.GetNodeAsString("nothing"); }).Number(), 91);
}

TEST(CXMLDocument, LoadFailuresAreDescribedNotRaised) {
    CXMLDocument doc;
    EXPECT_FALSE(doc.LoadString("<r>\n<a>\n</r>"));
    EXPECT_EQ(doc.ParsingError().rfind("parsing error in line 3 : ", 0), 0u) << doc.ParsingError();
    EXPECT_FALSE(
        doc.LoadString("<!DOCTYPE r [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><r>&e;</r>"));
    EXPECT_NE(doc.ParsingError().find("document type"), std::string::npos);
    EXPECT_FALSE(doc.LoadFile("/nonexistent/file.xml"));
    EXPECT_NE(doc.ParsingError(), "");

    test::TempDir dir;
    const std::string path = dir.Write("a.xml", "\xEF\xBB\xBF<r v=\"\xC3\xA9\"/>");
    ASSERT_TRUE(doc.LoadFile(path));
    EXPECT_EQ(doc.GetAttribute("/r", "v"), "é");
    EXPECT_TRUE(doc.SaveToFile(dir.File("b.xml")));
    EXPECT_NE(test::ReadBytes(dir.File("b.xml")).find("v=\"\xC3\xA9\""), std::string::npos);
}
