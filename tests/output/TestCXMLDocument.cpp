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
    EXPECT_EQ(doc.FormattedXML(),
              "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
              "<!--notice-->\n"
              "<configExchangeFile version=\"2.1\" a=\"1\">\n"
              "  <project fileName=\"Réglé &lt;&amp;> &quot;x&quot;\xEF\xBF\xBD\">\n"
              "    <plc />\n"
              "  </project>\n"
              "</configExchangeFile>\n");
}

// Paths select elements or attributes; texts are the whole text content,
// white-space nodes included, as a DOM gives them.
TEST(CXMLDocument, QueriesAndEditsByPath) {
    CXMLDocument doc;
    ASSERT_TRUE(
        doc.LoadString("<r>\n  <a x=\"1\"><b>t</b>u<![CDATA[v]]></a>\n  <a x=\"2\"/>\n</r>"));
    EXPECT_EQ(doc.NodeCount("//a"), 2);
    EXPECT_EQ(doc.GetChildCount("/r"), 5);
    EXPECT_EQ(doc.GetChildValue("/r", 1), "tuv");
    EXPECT_EQ(doc.GetChildAttribute("/r", "x", 3), "2");
    EXPECT_EQ(doc.GetNodeAsString("a/@x"), "x=\"1\"");
    EXPECT_TRUE(doc.SetNode("a/@x", "3"));
    EXPECT_TRUE(doc.SetAttribute("a[1]", "y", "z"));
    EXPECT_FALSE(doc.DeleteAttribute("a[9]", "x"));
    EXPECT_TRUE(doc.DeleteNode("a[1]/@x"));
    EXPECT_TRUE(doc.SetNode("a[1]", "plain"));                  // replaces everything below
    EXPECT_TRUE(doc.InsertNode("a[1]", "b", "", "k", "v", 0));  // a sibling
    EXPECT_TRUE(doc.InsertNode("b", "c", "txt", "", "", 1));    // a child
    // Without a CDATA section first, the text is set and a section appended.
    EXPECT_TRUE(doc.SetCDataSection("a[2]", "cd"));
    EXPECT_EQ(doc.GetNodeAsString("/r"),
              "<r>\n  <a y=\"z\">plain</a>\n  <a x=\"2\">cd<![CDATA[cd]]></a>\n"
              "<b k=\"v\"><c>txt</c></b></r>");
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

TEST(CXMLDocument, FilesAreDecodedByMarkOrDeclaration) {
    test::TempDir dir;
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Write(
        "w.xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r v=\"caf\xE9 \x80\"/>")));
    EXPECT_EQ(doc.GetAttribute("/r", "v"), "café €");
    EXPECT_EQ(doc.DocumentInfo("encoding"), "windows-1252");
    ASSERT_TRUE(doc.LoadFile(
        dir.Write("l.xml", "<?xml version='1.0' encoding='ISO-8859-1'?><r v=\"\xE9\xA0\"/>")));
    EXPECT_EQ(doc.GetAttribute("/r", "v"), "é\xC2\xA0");

    // A parse error in UTF-16 names the line in characters, not bytes.
    std::string utf16 = "\xFF\xFE";
    for (char32_t c :
         std::u32string{U"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r>\n<a>é</b>\n</r>"}) {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    EXPECT_FALSE(doc.LoadFile(dir.Write("u.xml", utf16)));
    EXPECT_EQ(doc.ParsingError().rfind("parsing error in line 3 : ", 0), 0u) << doc.ParsingError();
    utf16.erase(0, 2);
    const std::string good =
        utf16.substr(0, utf16.find(std::string("<\0a", 3))) + std::string("<\0/\0r\0>\0", 8);
    ASSERT_TRUE(doc.LoadFile(dir.Write("v.xml", good))) << doc.ParsingError();  // no mark

    EXPECT_FALSE(doc.LoadFile(dir.Write("b.xml", "<r>\n<a v=\"\xE9\"/></r>")));
    EXPECT_EQ(doc.ParsingError(), "parsing error in line 2 : the text is not valid UTF-8");
    EXPECT_FALSE(
        doc.LoadFile(dir.Write("s.xml", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r/>")));
    EXPECT_EQ(doc.ParsingError(),
              "parsing error in line 1 : the encoding 'shift_jis' is not supported");
}

TEST(CXMLDocument, HostileDocuments) {
    CXMLDocument doc;
    EXPECT_FALSE(doc.LoadString("<r/>\n<s/>"));
    EXPECT_EQ(doc.ParsingError(),
              "parsing error in line 2 : only one top level element is allowed");
    EXPECT_FALSE(doc.LoadString("<!-- nothing -->"));

    // Entities are not expanded even where a document type is allowed.
    std::string bomb = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c)
        bomb += std::string("<!ENTITY ") + c + " \"" + std::string(10, '&') + "\">";
    bomb += "]><r>&j;&j;&j;</r>";
    EXPECT_FALSE(doc.LoadString(bomb));
    doc.SetProhibitDTD(false);
    ASSERT_TRUE(doc.LoadString(bomb));
    EXPECT_EQ(doc.GetChildValue("/r", 0), "&j;&j;&j;");

    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<d>";
    deep += "x";
    for (int i = 0; i < 200000; ++i)
        deep += "</d>";
    ASSERT_TRUE(doc.LoadString(deep));
    EXPECT_EQ(doc.GetChildValue("/", 0), "x");
    EXPECT_EQ(doc.NodeCount("//d"), 200000);
}
