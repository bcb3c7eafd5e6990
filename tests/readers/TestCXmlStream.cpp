// The stream's own contract: what a handler sees, what a copy holds, and
// which documents are left to a whole parse. The readers' results on it
// are golden cases.
#include <gtest/gtest.h>
#include <unistd.h>

#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

#include "TestUtil.h"
#include "readers/CXmlStream.h"

using namespace vellcfgrdr;

namespace {

// Enters every element, copies those named "copy", and writes down what it
// saw: "depth:name[attribute]" per element, the copies serialised.
struct Recorder final : CXmlStream::IHandler {
    std::string seen;
    std::vector<std::string> copies;
    const char* attribute = "a";
    std::string skip = "skip";
    bool raise = false;

    Action Start(int depth, std::string_view name, const CXmlStream::Attributes& a) override {
        if (raise) throw std::runtime_error("from the handler");
        seen += std::to_string(depth) + ":" + std::string(name);
        if (const auto value = a.Get(attribute)) seen += "[" + std::string(*value) + "]";
        seen += " ";
        if (name == skip) return Action::kSkip;
        return name == "copy" ? Action::kCopy : Action::kEnter;
    }
    void Copied(pugi::xml_node element) override {
        std::ostringstream out;
        element.print(out, "", pugi::format_raw);
        copies.push_back(out.str());
    }
};

struct StreamRun {
    bool ok = false;
    Recorder recorder;
    bool Read(const std::string& text) {
        CXmlStream stream(dir.Write("d.xml", text));
        ok = stream.Read(recorder);
        return ok;
    }
    test::TempDir dir;
};

}  // namespace

TEST(XmlStream, ElementsAreReportedInOrderAndSkippedOnesAreNotEntered) {
    StreamRun r;
    ASSERT_TRUE(
        r.Read("<?xml version=\"1.0\"?>\n<!-- c --><r a=\"1&amp;2\">\n  <x:e xmlns:x=\"u\" "
               "x:a=\"p\"/><skip><in/></skip><e a='&#65;&lt;'>t</e></r>"));
    EXPECT_EQ(r.recorder.seen, "0:r[1&2] 1:x:e 1:skip 1:e[A<] ");
    StreamRun prefixed;
    prefixed.recorder.attribute = "x:a";
    ASSERT_TRUE(prefixed.Read("<r><x:e xmlns:x=\"u\" x:a=\"p\"/></r>"));
    EXPECT_EQ(prefixed.recorder.seen, "0:r 1:x:e[p] ");
}

TEST(XmlStream, CopyHoldsElementsTextsAndCDataButNoBlankTextOrComments) {
    StreamRun r;
    ASSERT_TRUE(
        r.Read("<r><copy a=\"1\" xmlns=\"u\"  b=\"x&#10;y\">\r\n  <d><![CDATA[ <x> ]]></d>\r\n"
               "  <t>a&amp;b<!-- c -->c</t><e/><copy/></copy><after/><copy>z</copy></r>"));
    EXPECT_EQ(r.recorder.seen, "0:r 1:copy[1] 1:after 1:copy ");
    ASSERT_EQ(r.recorder.copies.size(), 2u);
    // Namespace declarations come first; a copy inside a copy is copied,
    // not reported.
    EXPECT_EQ(r.recorder.copies[0],
              "<copy xmlns=\"u\" a=\"1\" b=\"x&#10;y\"><d><![CDATA[ <x> ]]></d><t>a&amp;bc</t>"
              "<e/><copy/></copy>");
    EXPECT_EQ(r.recorder.copies[1], "<copy>z</copy>");
}

TEST(XmlStream, LongCDataAndTextsAreCopiedWhole) {
    const std::string big(1u << 20, 'q');
    StreamRun r;
    ASSERT_TRUE(r.Read("<r><copy><![CDATA[" + big + "]]>" + big + "</copy></r>"));
    ASSERT_EQ(r.recorder.copies.size(), 1u);
    EXPECT_EQ(r.recorder.copies[0], "<copy><![CDATA[" + big + "]]>" + big + "</copy>");
}

// Values beyond the parser's default text limit are taken, not refused.
TEST(XmlStream, ValueLargerThanTheParsersDefaultLimit) {
    const std::string big(12u << 20, 'v');
    StreamRun r;
    ASSERT_TRUE(r.Read("<r><e a=\"" + big + "\"/><copy b=\"" + big + "\"/></r>"));
    EXPECT_EQ(r.recorder.seen, "0:r 1:e[" + big + "] 1:copy ");
    ASSERT_EQ(r.recorder.copies.size(), 1u);
    EXPECT_EQ(r.recorder.copies[0].size(), big.size() + 12);
}

TEST(XmlStream, DocumentsLeftToAWholeParse) {
    const std::string deep = std::string(CXmlStream::kMaxDepth, 'x');
    std::string nested;
    for (int i = 0; i < CXmlStream::kMaxDepth; ++i)
        nested += "<e>";
    for (int i = 0; i < CXmlStream::kMaxDepth; ++i)
        nested += "</e>";
    {
        StreamRun r;
        EXPECT_TRUE(r.Read(nested));
    }
    for (const std::string& text : {
             std::string(),
             std::string("<r><e></r>"),
             std::string("<r/><s/>"),
             std::string("<!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>"),
             std::string("<!DOCTYPE r SYSTEM \"r.dtd\"><r/>"),
             std::string("<r>&undeclared;</r>"),
             std::string("<r><p:e/></r>"),
             std::string("<e>") + nested + "</e>",
             std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"\xff\xfe\"/>"),
             std::string("<\0?\0<?\xd8\xd8\xd8\xd8\xd8", 10),
             std::string("<?xml version=\"1.0\" encoding=\"no-such\"?><r/>"),
         }) {
        // The parser says nothing on standard error.
        testing::internal::CaptureStderr();
        StreamRun r;
        EXPECT_FALSE(r.Read(text)) << text.substr(0, 60);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << text.substr(0, 60);
    }
}

TEST(XmlStream, WhatTheHandlerRaisesEndsTheRead) {
    StreamRun r;
    r.recorder.raise = true;
    EXPECT_THROW(r.Read("<r><e/></r>"), std::runtime_error);
}
