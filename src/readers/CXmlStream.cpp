#include "readers/CXmlStream.h"

#include <libxml/xmlreader.h>
#include <unistd.h>

#include <cerrno>
#include <pugixml.hpp>

namespace vellcfgrdr {

namespace {

// Without XML_PARSE_NOENT no entity is substituted, without the DTD options
// no declaration is loaded, and XML_PARSE_HUGE stays off: it would lift the
// limits on entity amplification along with those on texts. The parser's
// own reports go to OnError, never to standard error.
constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

const char* Text(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

CXmlStream::CXmlStream(const std::string& path) : file_(path) {
    // Once per process, before any thread parses.
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialised;
    reader_ = xmlReaderForIO(&CXmlStream::ReadFile, nullptr, this, nullptr, nullptr, kOptions);
    if (reader_)
        xmlTextReaderSetStructuredErrorHandler(reader_, &CXmlStream::OnError, this);
    else
        failed_ = true;
}

CXmlStream::~CXmlStream() {
    if (reader_) xmlFreeTextReader(reader_);
}

int CXmlStream::ReadFile(void* self, char* buffer, int size) {
    auto& stream = *static_cast<CXmlStream*>(self);
    ssize_t n = 0;
    do {
        n = ::read(stream.file_.Fd(), buffer, static_cast<size_t>(size));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    // A file that grows while it is read is refused as a whole read would
    // refuse it.
    stream.bytesRead_ += static_cast<uint64_t>(n);
    return stream.bytesRead_ > CInputFile::kMaxSize ? -1 : static_cast<int>(n);
}

void CXmlStream::OnError(void* self, _xmlError* error) {
    // Errors the parser recovers from (an undeclared namespace prefix) count
    // too: the document is then not one it takes whole.
    if (error && error->level >= XML_ERR_ERROR) static_cast<CXmlStream*>(self)->failed_ = true;
}

bool CXmlStream::Step(int status) {
    if (status < 0) failed_ = true;
    return status == 1 && !failed_;
}

bool CXmlStream::ToElement(int status) {
    while (Step(status)) {
        const int type = xmlTextReaderNodeType(reader_);
        if (type == XML_READER_TYPE_ELEMENT) return true;
        if (type == XML_READER_TYPE_DOCUMENT_TYPE) {
            failed_ = true;
            return false;
        }
        status = xmlTextReaderRead(reader_);
    }
    return false;
}

bool CXmlStream::NextElement() {
    return !failed_ && ToElement(xmlTextReaderRead(reader_));
}

bool CXmlStream::SkipElement() {
    return !failed_ && ToElement(xmlTextReaderNext(reader_));
}

bool CXmlStream::CopyElement(pugi::xml_node parent) {
    if (failed_) return false;
    const int depth = Depth();
    pugi::xml_node current = parent;
    for (;;) {
        bool closed = false;
        switch (xmlTextReaderNodeType(reader_)) {
            case XML_READER_TYPE_ELEMENT: {
                pugi::xml_node element =
                    current.append_child(Text(xmlTextReaderConstName(reader_)));
                if (xmlTextReaderMoveToFirstAttribute(reader_) == 1) {
                    do {
                        element.append_attribute(Text(xmlTextReaderConstName(reader_)))
                            .set_value(Text(xmlTextReaderConstValue(reader_)));
                    } while (xmlTextReaderMoveToNextAttribute(reader_) == 1);
                    xmlTextReaderMoveToElement(reader_);
                }
                if (xmlTextReaderIsEmptyElement(reader_) == 1)
                    closed = Depth() == depth;
                else
                    current = element;
                break;
            }
            case XML_READER_TYPE_END_ELEMENT:
                current = current.parent();
                closed = Depth() == depth;
                break;
            case XML_READER_TYPE_TEXT:
                current.append_child(pugi::node_pcdata)
                    .set_value(Text(xmlTextReaderConstValue(reader_)));
                break;
            case XML_READER_TYPE_CDATA:
                current.append_child(pugi::node_cdata)
                    .set_value(Text(xmlTextReaderConstValue(reader_)));
                break;
            default:
                // White space between elements, comments, processing
                // instructions.
                break;
        }
        if (closed) return NextElement();
        if (!Step(xmlTextReaderRead(reader_))) return false;
    }
}

int CXmlStream::Depth() const {
    return xmlTextReaderDepth(reader_);
}

std::string_view CXmlStream::Name() const {
    return Text(xmlTextReaderConstName(reader_));
}

std::optional<std::string_view> CXmlStream::Attribute(const char* name) const {
    if (xmlTextReaderMoveToAttribute(reader_, reinterpret_cast<const xmlChar*>(name)) != 1)
        return std::nullopt;
    const std::string_view value = Text(xmlTextReaderConstValue(reader_));
    xmlTextReaderMoveToElement(reader_);
    return value;
}

}  // namespace vellcfgrdr
