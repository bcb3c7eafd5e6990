#pragma once

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One in-memory XML document: built element by element, or loaded and
// queried with XPath 1.0. Paths are evaluated from the document element, so
// absolute paths work as usual. Query and edit members give their empty
// value on any failure unless they say otherwise. External entities are
// never fetched.
class CXMLDocument {
  public:
    CXMLDocument() = default;
    CXMLDocument(const CXMLDocument&) = delete;
    CXMLDocument& operator=(const CXMLDocument&) = delete;

    pugi::xml_document& DOM() noexcept { return doc_; }
    const pugi::xml_document& DOM() const noexcept { return doc_; }

    // A pseudo-attribute ("version", "encoding", ...) of the XML declaration.
    std::string DocumentInfo(std::string_view name) const;
    // Empty after a successful load; otherwise "parsing error in line N : reason".
    const std::string& ParsingError() const noexcept { return parsingError_; }
    // When set (the default), a document with a document type declaration
    // is refused.
    void SetProhibitDTD(bool on) noexcept { prohibitDtd_ = on; }
    // When cleared (it is set by default), text made of white space alone
    // is left out of the documents loaded afterwards: a reader that only
    // looks at elements and attributes saves a node for every indentation.
    void SetKeepWhitespace(bool on) noexcept { keepWhitespace_ = on; }
    // The document as text, unindented.
    std::string Xml() const;

    // Creation.
    pugi::xml_node AppendChild(pugi::xml_node parent, std::string_view name, std::string_view text);
    // Declaration, optional comment and root element; returns the root.
    pugi::xml_node Create(std::string_view rootName, std::string_view comment);
    // Sets the attribute, replacing one of the same name (which keeps its
    // place). Characters that XML 1.0 cannot hold become U+FFFD.
    void CreateAttribute(pugi::xml_node element, std::string_view name, std::string_view value);
    void CreateComment(std::string_view text);
    void CreateProcessingInstruction(std::string_view target, std::string_view data);

    // Editing by path; false on any failure.
    bool DeleteAttribute(std::string_view path, std::string_view name);
    bool DeleteNode(std::string_view path);
    // mode 0: under the parent of the node at path; mode 1: under that node.
    bool InsertNode(std::string_view path, std::string_view elementName, std::string_view text,
                    std::string_view attrName, std::string_view attrValue, int32_t mode);
    bool SetAttribute(std::string_view path, std::string_view name, std::string_view value);
    bool SetCDataSection(std::string_view path, std::string_view text);
    bool SetNode(std::string_view path, std::string_view text);

    // Queries by path. The text of a node is the text of everything below it.
    std::string GetAttribute(std::string_view path, std::string_view name) const;
    // Children are counted as the DOM holds them, text nodes included.
    std::string GetChildAttribute(std::string_view path, std::string_view name,
                                  int32_t index) const;
    std::string GetChildValue(std::string_view path, int32_t index) const;
    // These three raise the object-not-set error (91) for a missing node.
    int32_t GetChildCount(std::string_view path) const;
    std::string GetChildName(std::string_view path, int32_t index) const;
    std::string GetNodeAsString(std::string_view path) const;
    int32_t NodeCount(std::string_view path) const;
    pugi::xpath_node_set SelectNodes(std::string_view path) const;
    // An element, text or attribute ("a/@id"); empty when nothing matches.
    pugi::xpath_node SelectSingleNode(std::string_view path) const;

    // Loading; false on failure, with ParsingError set. A file is read as
    // its byte-order mark says, else as UTF-16 when it starts so, else in
    // the encoding its declaration names (UTF-8, Windows-1252, ISO 8859-1;
    // any other fails). A string is UTF-8.
    bool LoadFile(const std::string& path);
    bool LoadString(std::string_view xml);
    // Whole or not at all, through CFileWriter::WriteFile; false on failure.
    bool SaveToFile(const std::string& path) const;

    // Indented text with the declaration version 1.0, encoding "utf-8",
    // standalone "yes"; characters outside ASCII are written as UTF-8.
    std::string FormattedXML() const;

  private:
    // A loaded file is parsed in buffer_ (inBuffer), a string in a copy.
    bool Parse(std::string_view text, bool inBuffer);
    // The file's text as UTF-8; false with ParsingError set.
    bool ReadText(const std::string& path, std::string& text);
    // Empties the document and describes the error at the offset of text.
    bool Fail(std::string_view text, ptrdiff_t offset, std::string_view reason);
    // Paths are evaluated from the document element (the document when empty).
    pugi::xml_node Root() const;
    pugi::xpath_node XNode(std::string_view path) const;
    pugi::xml_node Node(std::string_view path) const;
    pugi::xpath_node RequireNode(std::string_view path) const;
    static pugi::xml_node Child(pugi::xml_node node, int32_t index);

    // The text a loaded document lies in; declared first, so that it is
    // freed after the document.
    std::string buffer_;
    pugi::xml_document doc_;
    std::string parsingError_;
    ptrdiff_t failOffset_ = 0;
    std::string failReason_;
    bool prohibitDtd_ = true;
    bool keepWhitespace_ = true;
};

}  // namespace vellcfgrdr
