#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CIniDOM.h"

using namespace vellcfgrdr;
using test::CatchError;

namespace {

class CIniDOMTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& bytes) const { return dir_.Write("t.ini", bytes); }
    // The error of a load.
    CVellError LoadError(CIniDOM& dom, const std::string& bytes) const {
        return CatchError([&] { dom.CreateFromFile(Write(bytes)); });
    }

    test::TempDir dir_;
};

}  // namespace

TEST_F(CIniDOMTest, ReadsSectionsKeysCommentsAndQuotes) {
    CIniDOM dom;
    dom.CreateFromFile(
        Write("; top comment\r\n"
              "\r\n"
              "[ Kestrel ] ; the header comment ; not this\r\n"
              "[broken\r\n"
              "\tMaxRack\t=\t4 ; four racks\r\n"
              ";  inner  \r\n"
              "\"odd name\" = \"  a;b  \" tail\r\n"
              "Joined = one\\\r\n"
              "  two\r\n"
              "Empty =\r\n"
              "Caf\xE9=\xE9t\xE9\r\n"));
    EXPECT_EQ(dom.LinesRead(), 11);
    const CIniSections& sections = dom.Sections();
    ASSERT_EQ(sections.Count(), 3);
    EXPECT_EQ(sections.Item(1)->Name(), "");
    EXPECT_EQ(sections.Item(1)->Comment(), "top comment");
    EXPECT_EQ(sections.Item(2)->Comment(), "");
    const auto kestrel = sections.Item("KESTREL");
    ASSERT_NE(kestrel, nullptr);
    EXPECT_EQ(kestrel->Name(), "Kestrel");
    EXPECT_EQ(kestrel->Comment(), "the header comment");

    const CIniKeys& keys = kestrel->Keys();
    ASSERT_EQ(keys.Count(), 6);
    EXPECT_EQ(keys.Item(1)->Value(), "4 ; four racks");
    EXPECT_EQ(keys.Item(2)->Name(), "");
    EXPECT_EQ(keys.Item(2)->Comment(), "inner");
    EXPECT_EQ(keys.Item(3)->Name(), "odd name");
    EXPECT_EQ(keys.Item(3)->Value(), "  a;b   tail");
    EXPECT_EQ(dom.GetString("kestrel", "JOINED", "?"), "onetwo");
    EXPECT_EQ(dom.GetString("Kestrel", "Empty", "?"), "");
    EXPECT_EQ(dom.GetString("Kestrel", "CAFÉ", "?"), "été");
    EXPECT_EQ(dom.GetString("Kestrel", "Missing", "def"), "def");
    EXPECT_EQ(dom.GetString("Nowhere", "MaxRack", "def"), "def");
    EXPECT_EQ(dom.GetLong("Kestrel", "MaxRack", -1), 4);
}

TEST_F(CIniDOMTest, GetLongReadsLenientlyAndDefaultsOnlyForMissingKeys) {
    CIniDOM dom;
    dom.CreateFromFile(Write("[S]\na=12abc\nd=\n"));  // LF only
    EXPECT_EQ(dom.GetLong("s", "a", 0), 12);
    EXPECT_EQ(dom.GetLong("s", "d", 9), 0);
    EXPECT_EQ(dom.GetLong("s", "f", 9), 9);
}

TEST_F(CIniDOMTest, ParseErrorsNameTheLineAndKeepWhatWasRead) {
    CIniDOM dom;
    CVellError e = LoadError(dom, "[A]\r\nx=1\r\n[a]\r\ny=2\r\n");
    EXPECT_EQ(e.Number(), ErrNum::kDuplicateKey);
    EXPECT_EQ(e.Description(), "Duplicate Section line 3 in " + dir_.File("t.ini"));
    EXPECT_EQ(e.Source(), "IniDOM > ReadAll");
    EXPECT_EQ(e.LineNumber(), 3);
    EXPECT_EQ(dom.GetString("A", "x", ""), "1");
    EXPECT_EQ(dom.EnumSections().size(), 1u);

    e = LoadError(dom, "[A]\r\nx=1\r\n;c\r\nX = 2\r\n");
    EXPECT_EQ(e.Number(), ErrNum::kDuplicateKey);
    EXPECT_EQ(e.Description().rfind("Duplicate Key line 4 in ", 0), 0u);
    EXPECT_EQ(e.LineNumber(), 4);

    e = LoadError(dom, "[A]\r\nx=1\r\nno equals sign\r\n");
    EXPECT_EQ(e.Number(), ErrNum::kInvalidPattern);
    EXPECT_EQ(e.Description().rfind("Unrecognized pattern line 3 in ", 0), 0u);
    EXPECT_EQ(e.Source(), "VellCfgRdr > ReadAll");

    e = LoadError(dom, "; fine\r\nkey=before any section\r\n");
    EXPECT_EQ(e.Number(), ErrNum::kInvalidPattern);
    EXPECT_EQ(e.LineNumber(), 2);

    // A continued line counts every physical line.
    e = LoadError(dom, "[A]\r\nx=1\\\r\n2\\\r\n3\r\nbad\r\n");
    EXPECT_EQ(e.LineNumber(), 5);

    e = LoadError(dom, "[A]\r\n\"a=b\"=c\r\n");
    EXPECT_EQ(e.Number(), ErrNum::kInvalidPropertyValue);
}

TEST_F(CIniDOMTest, TheFirstEqualsSignSplitsAKeyLine) {
    // Quotes that do not open the line only keep a piece of text as it
    // stands; an "=" inside them is the split when it comes first.
    CIniDOM dom;
    dom.CreateFromFile(Write("[S]\r\nab\"c=d\"e=f\r\nkey = \"a=b\"\r\n"));
    const CIniKeys& keys = dom.Sections().Item("S")->Keys();
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys.Item(1)->Name(), "abc");
    EXPECT_EQ(keys.Item(1)->Value(), "de=f");
    EXPECT_EQ(keys.Item(2)->Name(), "key");
    EXPECT_EQ(keys.Item(2)->Value(), "a=b");
}

TEST_F(CIniDOMTest, MissingFileFailsWithTheLoadAsPlace) {
    const std::string path = dir_.File("absent.ini");
    const CVellError e = CatchError([&] { CIniDOM().CreateFromFile(path); });
    EXPECT_EQ(e.Number(), ErrNum::kFileNotFound);
    EXPECT_EQ(e.Source(), "VellCfgRdr > CreateFromFile(" + path + ")");
}

TEST_F(CIniDOMTest, LoadAndSaveGiveTheSameBytes) {
    const std::string text =
        ";Part supplement\r\n"
        "\r\n"
        "[Bundles];parts in a bundle\r\n"
        "B-100=M-1 + M-2\r\n"
        ";\xE9quipement\r\n"
        "\r\n"
        "[ShieldKit]\r\n"
        "M-1=SK-1;kept in the value\r\n";
    CIniDOM dom;
    dom.CreateFromFile(Write(text));
    dom.Save(dir_.File("out.ini"));
    EXPECT_EQ(test::ReadBytes(dir_.File("out.ini")), text);
}

TEST_F(CIniDOMTest, StorageEditsAndSaveLayout) {
    CIniDOM dom;
    dom.CreateFromFile(Write("[One]\r\na = 1\r\n;note\r\nB=2\r\n[Two]\r\n"));
    dom.PutString("one", "A", "10");
    dom.PutString("Three", "Key", "v");
    dom.AddCommentLine("end");
    EXPECT_EQ(dom.EnumSections(), (std::vector<std::string>{"One", "Two", "Three"}));
    const auto kv = dom.EnumKeysAndValues("ONE");
    EXPECT_EQ(kv.GetKeys(), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(kv.Value("A"), "10");

    EXPECT_TRUE(dom.DeleteKey("ONE", "b"));
    EXPECT_FALSE(dom.DeleteKey("One", "b"));
    EXPECT_TRUE(dom.DeleteSection("two"));
    EXPECT_FALSE(dom.DeleteSection("two"));

    dom.Save(dir_.File("out.ini"));
    EXPECT_EQ(test::ReadBytes(dir_.File("out.ini")),
              "[One]\r\na=10\r\n;note\r\n[Three]\r\nKey=v\r\n;end\r\n");

    const CVellError e = CatchError([&] { dom.PutString("One", "x=y", "v"); });
    EXPECT_EQ(e.Number(), ErrNum::kInvalidPropertyValue);
    EXPECT_EQ(e.Description(), "Cannot write IniDom Attribute x=y");
    EXPECT_EQ(dom.GetString("One", "x", "none"), "none");
}

TEST_F(CIniDOMTest, OddInputNeitherCrashesNorHangs) {
    CIniDOM dom;
    dom.CreateFromFile(Write(""));
    EXPECT_EQ(dom.Sections().Count(), 0);
    EXPECT_EQ(dom.LinesRead(), 0);
    dom.CreateFromFile(Write(std::string("[S]\r\nk=a\0b\r\nlast=x\\", 19)));
    EXPECT_EQ(dom.GetString("S", "k", ""), std::string("a\0b", 3));
    EXPECT_EQ(dom.GetString("S", "last", ""), "x");

    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        std::string junk(rng() % 300, '\0');
        for (char& c : junk)
            c = static_cast<char>(rng() % 8 == 0 ? "[]=;\\\"\r\n"[rng() % 8] : rng());
        try {
            dom.CreateFromFile(Write(junk));
        } catch (const CVellError& e) {
            EXPECT_GT(e.LineNumber(), 0);
        }
    }

    // Many continued lines and many comment lines stay linear.
    std::string big = "[S]\r\n";
    for (int i = 0; i < 200000; ++i)
        big += "k=v\\\r\n";
    big += "end\r\n";
    for (int i = 0; i < 100000; ++i)
        big += ";c\r\n";
    dom.CreateFromFile(Write(big));
    EXPECT_EQ(dom.GetString("S", "k", "").size(), 200000u * 3 + 1);
    EXPECT_EQ(dom.Sections().Item(1)->Keys().Count(), 100001);
}
