#include "output/CXMLDocument.h"

#include <algorithm>
#include <vector>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CFileWriter.h"
#include "support/CInputFile.h"

namespace vellcfgrdr {

namespace {

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration | pugi::parse_doctype |
    pugi::parse_pi | pugi::parse_ws_pcdata;  // white space is kept, as children are counted with it
constexpr const char* kIndent = "  ";

// Every text reaches the document through here. Bytes that are not UTF-8
// (a path from an old archive) follow the one rule of CUtf8::FromExternal,
// so the document is always well-formed. XML 1.0 has no place for control
// characters other than tab, CR and LF, not even as character references.
std::string XmlSafe(std::string_view raw) {
    const std::string external = CUtf8::IsValidUtf8(raw) ? std::string() : CUtf8::FromExternal(raw);
    const std::string_view text = external.empty() ? raw : std::string_view(external);
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

pugi::xml_node Doctype(const pugi::xml_document& doc) {
    for (pugi::xml_node n : doc.children())
        if (n.type() == pugi::node_doctype) return n;
    return {};
}

// The second element at the top of the document; a document has one.
pugi::xml_node SecondRoot(const pugi::xml_document& doc) {
    bool seen = false;
    for (pugi::xml_node n : doc.children())
        if (n.type() == pugi::node_element) {
            if (seen) return n;
            seen = true;
        }
    return {};
}

// The text content of a node as a DOM gives it: the text of every text and
// CDATA section below it, in document order. Walked without recursion, as a
// document may nest deeply.
std::string TextContent(pugi::xml_node node) {
    if (node.type() != pugi::node_element && node.type() != pugi::node_document)
        return node.value();
    std::string out;
    pugi::xml_node n = node.first_child();
    while (n) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != node && !n.next_sibling())
            n = n.parent();
        if (!n || n == node) break;
        n = n.next_sibling();
    }
    return out;
}

// Replaces everything below the node by one text node, as setting a DOM
// node's text does.
bool SetTextContent(pugi::xml_node node, const std::string& text) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return node.set_value(text.c_str());
    if (node.type() != pugi::node_element) return false;
    while (node.first_child())
        node.remove_child(node.first_child());
    return text.empty() || node.append_child(pugi::node_pcdata).set_value(text.c_str());
}

// ISO 8859-1: every byte is the character of the same code.
std::string FromLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string SwapPairs(std::string_view bytes) {
    std::string out(bytes);
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

size_t FirstInvalidUtf8(std::string_view bytes) {
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t at = pos;
        if (CUtf8::Decode(bytes, pos) == 0xFFFD && bytes.substr(at, 3) != "\xEF\xBF\xBD") return at;
    }
    return bytes.size();
}

// The encoding named by the XML declaration at the start of an 8-bit text,
// in lower case; empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml")) return {};
    const size_t end = bytes.find("?>");
    const std::string_view decl = bytes.substr(0, end);
    const size_t at = decl.find("encoding");
    if (at == std::string_view::npos) return {};
    size_t p = decl.find_first_of("\"'", at);
    if (p == std::string_view::npos) return {};
    const size_t close = decl.find(decl[p], p + 1);
    if (close == std::string_view::npos) return {};
    return CUtf8::ToLower(decl.substr(p + 1, close - p - 1));
}

// The bytes of a file as UTF-8 text for the parser, by byte-order mark, by
// the first characters of an unmarked UTF-16 text, or by the encoding the
// declaration names. False with the reason when the encoding is not one of
// these or the bytes are not valid in it.
bool DecodeXml(std::string& text, std::string& reason, size_t& badAt) {
    badAt = 0;
    const std::string_view bytes = text;
    if (bytes.starts_with("\xFF\xFE")) {
        text = CUtf8::FromUtf16Le(bytes.substr(2));
    } else if (bytes.starts_with("\xFE\xFF")) {
        text = CUtf8::FromUtf16Le(SwapPairs(bytes.substr(2)));
    } else if (bytes.starts_with(std::string_view("<\0?\0", 4))) {
        text = CUtf8::FromUtf16Le(bytes);
    } else if (bytes.starts_with(std::string_view("\0<\0?", 4))) {
        text = CUtf8::FromUtf16Le(SwapPairs(bytes));
    } else {
        const size_t mark = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
        const std::string encoding = DeclaredEncoding(bytes.substr(mark));
        if (encoding == "windows-1252" || encoding == "cp1252") {
            text = CUtf8::FromCp1252(bytes.substr(mark));
        } else if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "iso_8859-1") {
            text = FromLatin1(bytes.substr(mark));
        } else if (encoding.empty() || encoding == "utf-8" || encoding == "utf8" ||
                   encoding == "us-ascii" || encoding == "ascii") {
            // Kept where it is: a large file costs no second copy.
            if (!CUtf8::IsValidUtf8(bytes.substr(mark))) {
                reason = "the text is not valid UTF-8";
                badAt = FirstInvalidUtf8(bytes.substr(mark));
                text.erase(0, mark);
                return false;
            }
            text.erase(0, mark);
        } else {
            reason = "the encoding '" + encoding + "' is not supported";
            text.erase(0, mark);
            return false;
        }
    }
    return true;
}

size_t LineAt(std::string_view text, ptrdiff_t offset) {
    const auto at = static_cast<size_t>(std::max<ptrdiff_t>(offset, 0));
    const std::string_view before = text.substr(0, std::min(at, text.size()));
    return 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
}

}  // namespace

pugi::xml_node CXMLDocument::Root() const {
    const pugi::xml_node element = doc_.document_element();
    return element ? element : static_cast<pugi::xml_node>(doc_);
}

pugi::xpath_node CXMLDocument::XNode(std::string_view path) const {
    try {
        return Root().select_node(Str(path).c_str());
    } catch (const pugi::xpath_exception&) {
        return {};
    }
}

pugi::xml_node CXMLDocument::Node(std::string_view path) const {
    return XNode(path).node();
}

pugi::xpath_node CXMLDocument::RequireNode(std::string_view path) const {
    const pugi::xpath_node n = XNode(path);
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
    const pugi::xpath_node x = XNode(path);
    if (x.attribute()) return x.parent().remove_attribute(x.attribute());
    const pugi::xml_node n = x.node();
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
    return SetTextContent(n, safe) && n.append_child(pugi::node_cdata).set_value(safe.c_str());
}

bool CXMLDocument::SetNode(std::string_view path, std::string_view text) {
    const pugi::xpath_node x = XNode(path);
    if (pugi::xml_attribute a = x.attribute()) return a.set_value(XmlSafe(text).c_str());
    return SetTextContent(x.node(), XmlSafe(text));
}

std::string CXMLDocument::GetAttribute(std::string_view path, std::string_view name) const {
    return Node(path).attribute(Str(name).c_str()).value();
}

std::string CXMLDocument::GetChildAttribute(std::string_view path, std::string_view name,
                                            int32_t index) const {
    return Child(Node(path), index).attribute(Str(name).c_str()).value();
}

std::string CXMLDocument::GetChildValue(std::string_view path, int32_t index) const {
    const pugi::xml_node child = Child(Node(path), index);
    return child ? TextContent(child) : std::string();
}

int32_t CXMLDocument::GetChildCount(std::string_view path) const {
    const pugi::xml_node n = RequireNode(path).node();
    int32_t count = 0;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        ++count;
    return count;
}

std::string CXMLDocument::GetChildName(std::string_view path, int32_t index) const {
    return Child(RequireNode(path).node(), index).name();
}

std::string CXMLDocument::GetNodeAsString(std::string_view path) const {
    const pugi::xpath_node x = RequireNode(path);
    if (const pugi::xml_attribute a = x.attribute()) {
        // Written as the attribute stands in its element.
        pugi::xml_document one;
        one.append_child("x").append_copy(a);
        StringWriter w;
        one.first_child().print(w, "", pugi::format_raw);
        const size_t from = w.out.find(' ') + 1;
        return w.out.substr(from, w.out.rfind('/') - from);
    }
    StringWriter w;
    x.node().print(w, "", pugi::format_raw);
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

pugi::xpath_node CXMLDocument::SelectSingleNode(std::string_view path) const {
    return XNode(path);
}

bool CXMLDocument::Fail(std::string_view text, ptrdiff_t offset, std::string_view reason) {
    failOffset_ = offset;
    failReason_ = Str(reason);
    parsingError_ =
        "parsing error in line " + std::to_string(LineAt(text, offset)) + " : " + failReason_;
    doc_.reset();
    std::string().swap(buffer_);
    return false;
}

bool CXMLDocument::Parse(std::string_view text, bool inBuffer) {
    parsingError_.clear();
    const unsigned flags = keepWhitespace_ ? kParseFlags : kParseFlags & ~pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result =
        inBuffer
            ? doc_.load_buffer_inplace(buffer_.data(), buffer_.size(), flags, pugi::encoding_utf8)
            : doc_.load_buffer(text.data(), text.size(), flags, pugi::encoding_utf8);
    // Lines are counted in the UTF-8 text the parser saw, whatever the file's encoding.
    if (!result) return Fail(text, result.offset, result.description());
    if (const pugi::xml_node doctype = Doctype(doc_); prohibitDtd_ && doctype)
        return Fail(text, doctype.offset_debug(), "document type declarations are not allowed");
    if (const pugi::xml_node second = SecondRoot(doc_))
        return Fail(text, second.offset_debug(), "only one top level element is allowed");
    if (!doc_.document_element()) return Fail(text, result.offset, "no root element");
    return true;
}

bool CXMLDocument::ReadText(const std::string& path, std::string& text) {
    try {
        CInputFile(path).ReadAll(text);
    } catch (const CVellError& e) {
        doc_.reset();
        std::string().swap(buffer_);
        parsingError_ = "parsing error in line 0 : " + e.Description();
        return false;
    }
    std::string reason;
    size_t badAt = 0;
    if (!DecodeXml(text, reason, badAt)) return Fail(text, static_cast<ptrdiff_t>(badAt), reason);
    return true;
}

bool CXMLDocument::LoadFile(const std::string& path) {
    doc_.reset();
    if (!ReadText(path, buffer_)) return false;
    // Parsed where it lies, so the document costs no second copy of the text.
    if (Parse(buffer_, true)) return true;
    // The parser has written into its buffer: the line is counted in the
    // text as read.
    const ptrdiff_t offset = failOffset_;
    const std::string reason = failReason_;
    std::string text;
    if (ReadText(path, text)) Fail(text, offset, reason);
    return false;
}

bool CXMLDocument::LoadString(std::string_view xml) {
    return Parse(xml, false);
}

bool CXMLDocument::SaveToFile(const std::string& path) const {
    // Written as the document holds it: indenting would add text nodes to
    // mixed content.
    StringWriter w;
    doc_.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    try {
        CFileWriter::WriteFile(path, w.out);
        return true;
    } catch (...) {
        return false;
    }
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
