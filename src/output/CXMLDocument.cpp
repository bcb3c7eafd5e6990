#include "output/CXMLDocument.h"

#include <algorithm>
#include <vector>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration | pugi::parse_doctype |
    pugi::parse_pi | pugi::parse_ws_pcdata;  // white space is kept, as children are counted with it
constexpr const char* kIndent = "  ";

// XML 1.0 has no place for control characters other than tab, CR and LF,
// not even as character references.
std::string XmlSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n')
            out += "\xEF\xBF\xBD";
        else
            out.push_back(c);
    }
    return out;
}

std::string Str(std::string_view s) {
    return std::string(s);
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

bool HasDoctype(const pugi::xml_document& doc) {
    for (pugi::xml_node n : doc.children())
        if (n.type() == pugi::node_doctype) return true;
    return false;
}

}  // namespace

pugi::xml_node CXMLDocument::Root() const {
    const pugi::xml_node element = doc_.document_element();
    return element ? element : static_cast<pugi::xml_node>(doc_);
}

pugi::xml_node CXMLDocument::Node(std::string_view path) const {
    try {
        return Root().select_node(Str(path).c_str()).node();
    } catch (const pugi::xpath_exception&) {
        return {};
    }
}

pugi::xml_node CXMLDocument::RequireNode(std::string_view path) const {
    const pugi::xml_node n = Node(path);
    if (!n)
        throw CVellError(ErrNum::kObjectNotSet,
                         ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
    return n;
}

pugi::xml_node CXMLDocument::Child(pugi::xml_node node, int32_t index) {
    if (index < 0) return {};
    pugi::xml_node c = node.first_child();
    for (int32_t i = 0; c && i < index; ++i)
        c = c.next_sibling();
    return c;
}

std::string CXMLDocument::DocumentInfo(std::string_view name) const {
    try {
        const pugi::xml_node first = doc_.first_child();
        if (first.type() != pugi::node_declaration)
            throw CVellError(ErrNum::kObjectNotSet,
                             ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
        return first.attribute(Str(name).c_str()).value();
    } catch (...) {
        ModGSCore::ReRaise("XMLDocument", "DocumentInfo");
    }
}

std::string CXMLDocument::Xml() const {
    StringWriter w;
    doc_.save(w, "", pugi::format_raw | pugi::format_no_declaration);
    return w.out;
}

pugi::xml_node CXMLDocument::AppendChild(pugi::xml_node parent, std::string_view name,
                                         std::string_view text) {
    pugi::xml_node e = parent.append_child(Str(name).c_str());
    if (!text.empty()) e.text().set(XmlSafe(text).c_str());
    return e;
}

pugi::xml_node CXMLDocument::Create(std::string_view rootName, std::string_view comment) {
    CreateProcessingInstruction("xml", "version='1.0'");
    if (!comment.empty()) CreateComment(comment);
    return AppendChild(doc_, rootName, "");
}

void CXMLDocument::CreateAttribute(pugi::xml_node element, std::string_view name,
                                   std::string_view value) {
    const std::string key(name);
    pugi::xml_attribute a = element.attribute(key.c_str());
    if (!a) a = element.append_attribute(key.c_str());
    a.set_value(XmlSafe(value).c_str());
}

void CXMLDocument::CreateComment(std::string_view text) {
    doc_.append_child(pugi::node_comment).set_value(XmlSafe(text).c_str());
}

void CXMLDocument::CreateProcessingInstruction(std::string_view target, std::string_view data) {
    if (target == "xml") {
        // The declaration: its data is a list of pseudo-attributes.
        pugi::xml_node decl = doc_.prepend_child(pugi::node_declaration);
        pugi::xml_document parsed;
        const std::string probe = "<x " + Str(data) + "/>";
        if (parsed.load_string(probe.c_str()))
            for (pugi::xml_attribute a : parsed.first_child().attributes())
                decl.append_attribute(a.name()).set_value(a.value());
        return;
    }
    pugi::xml_node pi = doc_.append_child(pugi::node_pi);
    pi.set_name(Str(target).c_str());
    pi.set_value(XmlSafe(data).c_str());
}

bool CXMLDocument::DeleteAttribute(std::string_view path, std::string_view name) {
    pugi::xml_node n = Node(path);
    return n && n.remove_attribute(Str(name).c_str());
}

bool CXMLDocument::DeleteNode(std::string_view path) {
    pugi::xml_node n = Node(path);
    return n && n.parent() && n.parent().remove_child(n);
}

bool CXMLDocument::InsertNode(std::string_view path, std::string_view elementName,
                              std::string_view text, std::string_view attrName,
                              std::string_view attrValue, int32_t mode) {
    pugi::xml_node n = Node(path);
    if (!n) return false;
    pugi::xml_node parent = mode == 0 ? n.parent() : n;
    if (!parent) return false;
    pugi::xml_node e = AppendChild(parent, elementName, text);
    if (!e) return false;
    if (!attrName.empty() && !attrValue.empty()) CreateAttribute(e, attrName, attrValue);
    return true;
}

bool CXMLDocument::SetAttribute(std::string_view path, std::string_view name,
                                std::string_view value) {
    pugi::xml_node n = Node(path);
    if (n.type() != pugi::node_element) return false;
    CreateAttribute(n, name, value);
    return true;
}

bool CXMLDocument::SetCDataSection(std::string_view path, std::string_view text) {
    pugi::xml_node n = Node(path);
    if (!n) return false;
    const std::string safe = XmlSafe(text);
    if (n.first_child().type() == pugi::node_cdata) return n.first_child().set_value(safe.c_str());
    n.text().set(safe.c_str());
    return n.append_child(pugi::node_cdata).set_value(safe.c_str());
}

bool CXMLDocument::SetNode(std::string_view path, std::string_view text) {
    pugi::xml_node n = Node(path);
    return n && n.text().set(XmlSafe(text).c_str());
}

std::string CXMLDocument::GetAttribute(std::string_view path, std::string_view name) const {
    return Node(path).attribute(Str(name).c_str()).value();
}

std::string CXMLDocument::GetChildAttribute(std::string_view path, std::string_view name,
                                            int32_t index) const {
    return Child(Node(path), index).attribute(Str(name).c_str()).value();
}

std::string CXMLDocument::GetChildValue(std::string_view path, int32_t index) const {
    return Child(Node(path), index).text().get();
}

int32_t CXMLDocument::GetChildCount(std::string_view path) const {
    const pugi::xml_node n = RequireNode(path);
    int32_t count = 0;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        ++count;
    return count;
}

std::string CXMLDocument::GetChildName(std::string_view path, int32_t index) const {
    return Child(RequireNode(path), index).name();
}

std::string CXMLDocument::GetNodeAsString(std::string_view path) const {
    const pugi::xml_node n = RequireNode(path);
    StringWriter w;
    n.print(w, "", pugi::format_raw);
    return w.out;
}

int32_t CXMLDocument::NodeCount(std::string_view path) const {
    return static_cast<int32_t>(SelectNodes(path).size());
}

pugi::xpath_node_set CXMLDocument::SelectNodes(std::string_view path) const {
    try {
        return Root().select_nodes(Str(path).c_str());
    } catch (const pugi::xpath_exception&) {
        return {};
    }
}

pugi::xml_node CXMLDocument::SelectSingleNode(std::string_view path) const {
    return Node(path);
}

bool CXMLDocument::AfterLoad(const pugi::xml_parse_result& result, std::string_view text) {
    parsingError_.clear();
    if (result && prohibitDtd_ && HasDoctype(doc_)) {
        doc_.reset();
        parsingError_ = "parsing error in line 1 : document type declarations are not allowed";
        return false;
    }
    if (result) return true;
    // Lines are counted from the start of the text up to the error.
    const auto offset = static_cast<size_t>(std::max<ptrdiff_t>(result.offset, 0));
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    const size_t line = 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
    parsingError_ = "parsing error in line " + std::to_string(line) + " : " + result.description();
    return false;
}

bool CXMLDocument::LoadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        CStdio::ReadBinFile(path, bytes);
    } catch (const CVellError& e) {
        doc_.reset();
        parsingError_ = "parsing error in line 0 : " + e.Description();
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return AfterLoad(doc_.load_buffer(bytes.data(), bytes.size(), kParseFlags), text);
}

bool CXMLDocument::LoadString(std::string_view xml) {
    return AfterLoad(doc_.load_buffer(xml.data(), xml.size(), kParseFlags, pugi::encoding_utf8),
                     xml);
}

bool CXMLDocument::SaveToFile(const std::string& path) const {
    return doc_.save_file(path.c_str(), kIndent, pugi::format_default | pugi::format_no_declaration,
                          pugi::encoding_utf8);
}

std::string CXMLDocument::FormattedXML() const {
    StringWriter w;
    w.out = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n";
    // The document's own declaration is replaced by the one above.
    for (pugi::xml_node n : doc_.children())
        if (n.type() != pugi::node_declaration)
            n.print(w, kIndent, pugi::format_indent, pugi::encoding_utf8, 0);
    return w.out;
}

}  // namespace vellcfgrdr
