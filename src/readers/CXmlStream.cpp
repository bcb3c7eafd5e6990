#include "readers/CXmlStream.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace vellcfgrdr {

namespace {

// No DTD is loaded and none is taken (see OnDocumentType), so the only
// entities are the predefined ones, which XML_PARSE_NOENT has decoded in
// attribute values as in texts. XML_PARSE_HUGE lifts the limits on the
// length of a text or value; with no entity declared there is nothing for
// it to amplify, and the nesting is limited here. The parser's own reports
// go to OnError, never to standard error.
constexpr int kOptions =
    XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// The parser looks back over the text it holds at each chunk it is given,
// so a value of many megabytes costs in proportion to the number of chunks:
// large ones keep that small.
constexpr size_t kChunk = size_t{4} << 20;

std::string_view View(const unsigned char* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string QualifiedName(const unsigned char* prefix, const unsigned char* localName) {
    std::string name;
    if (prefix) {
        name = View(prefix);
        name += ':';
    }
    name += View(localName);
    return name;
}

// The parser reports some failures (of the encoder, of input) outside the
// document's context, to the thread's own handlers: they are taken here for
// the time of a read and handed back after it.
class CErrorHandlers {
  public:
    CErrorHandlers(void* stream, xmlStructuredErrorFunc handler)
        : generic_(xmlGenericError),
          genericContext_(xmlGenericErrorContext),
          structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, &Ignore);
        xmlSetStructuredErrorFunc(stream, handler);
    }
    ~CErrorHandlers() {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    CErrorHandlers(const CErrorHandlers&) = delete;
    CErrorHandlers& operator=(const CErrorHandlers&) = delete;

  private:
    static void Ignore(void*, const char*, ...) {}
    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
};

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::string_view> CXmlStream::Attributes::Get(std::string_view name) const {
    // Five pointers an attribute: local name, prefix, namespace, value and
    // its end.
    for (int i = 0; i < count_; ++i) {
        const unsigned char* const* a = attributes_ + 5 * i;
        const std::string_view local = View(a[0]);
        const std::string_view prefix = View(a[1]);
        const bool same = a[1] ? name.size() == prefix.size() + 1 + local.size() &&
                                     name.starts_with(prefix) && name[prefix.size()] == ':' &&
                                     name.ends_with(local)
                               : name == local;
        if (same)
            return std::string_view(reinterpret_cast<const char*>(a[3]),
                                    static_cast<size_t>(a[4] - a[3]));
    }
    return std::nullopt;
}

CXmlStream::CXmlStream(const std::string& path) : file_(path) {
    // Once per process, before any thread parses.
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialised;
}

CXmlStream::~CXmlStream() {
    if (parser_) xmlFreeParserCtxt(parser_);
}

bool CXmlStream::Read(IHandler& handler) {
    if (parser_ || failed_) return false;
    handler_ = &handler;
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = &CXmlStream::OnStart;
    sax.endElementNs = &CXmlStream::OnEnd;
    sax.characters = &CXmlStream::OnCharacters;
    sax.ignorableWhitespace = &CXmlStream::OnCharacters;
    sax.cdataBlock = &CXmlStream::OnCData;
    sax.comment = &CXmlStream::OnComment;
    sax.processingInstruction = &CXmlStream::OnInstruction;
    sax.internalSubset = &CXmlStream::OnDocumentType;
    sax.serror = &CXmlStream::OnError;
    const CErrorHandlers handlers(this, &CXmlStream::OnError);
    // What a chunk leaves: an error (also one reported to nobody, as a
    // failed conversion is) or a parser halted before the end fails the
    // document.
    const auto parse = [this](const char* bytes, int size, bool end) {
        if (xmlParseChunk(parser_, bytes, size, end ? 1 : 0) != 0 ||
            (!end && parser_->instate == XML_PARSER_EOF))
            failed_ = true;
    };

    std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(file_.Size() + 1, kChunk)));
    uint64_t total = 0;
    bool first = true;
    for (;;) {
        ssize_t n = 0;
        do {
            n = ::read(file_.Fd(), buffer.data(), buffer.size());
        } while (n < 0 && errno == EINTR);
        // A file that grows while it is read is refused as a whole read
        // would refuse it.
        total += static_cast<uint64_t>(std::max<ssize_t>(n, 0));
        if (n < 0 || total > CInputFile::kMaxSize) {
            Fail();
            break;
        }
        if (first) {
            // The first bytes tell the encoding.
            const int head = static_cast<int>(std::min<ssize_t>(n, 4));
            parser_ = xmlCreatePushParserCtxt(&sax, this, buffer.data(), head, nullptr);
            if (!parser_) {
                failed_ = true;
                break;
            }
            xmlCtxtUseOptions(parser_, kOptions);
            first = false;
            if (head < n) parse(buffer.data() + head, static_cast<int>(n - head), false);
        } else if (n > 0) {
            parse(buffer.data(), static_cast<int>(n), false);
        }
        if (raised_) std::rethrow_exception(raised_);
        if (failed_) break;
        if (n == 0) {
            parse(nullptr, 0, true);
            if (raised_) std::rethrow_exception(raised_);
            break;
        }
    }
    if (parser_ && !parser_->wellFormed) failed_ = true;
    return !failed_;
}

void CXmlStream::Fail() {
    failed_ = true;
    if (parser_) xmlStopParser(parser_);
}

void CXmlStream::OnStart(void* self, const unsigned char* localName, const unsigned char* prefix,
                         const unsigned char*, int namespaceCount, const unsigned char** namespaces,
                         int attributeCount, int, const unsigned char** attributes) {
    auto& s = *static_cast<CXmlStream*>(self);
    if (s.failed_) return;
    try {
        s.Start(localName, prefix, namespaceCount, namespaces, attributeCount, attributes);
    } catch (...) {
        // Nothing may pass through the parser's frames.
        s.raised_ = std::current_exception();
        s.Fail();
    }
}

void CXmlStream::Start(const unsigned char* localName, const unsigned char* prefix,
                       int namespaceCount, const unsigned char** namespaces, int attributeCount,
                       const unsigned char** attributes) {
    const int depth = depth_++;
    if (depth >= kMaxDepth) return Fail();
    if (skipFrom_ >= 0) return;
    if (copyFrom_ >= 0) {
        Flush();
        pugi::xml_node element = current_.append_child(QualifiedName(prefix, localName).c_str());
        // Namespace declarations first, then the attributes, in document
        // order.
        for (int i = 0; i < namespaceCount; ++i) {
            const unsigned char* declared = namespaces[2 * i];
            const std::string name =
                declared ? "xmlns:" + std::string(View(declared)) : std::string("xmlns");
            element.append_attribute(name.c_str())
                .set_value(namespaces[2 * i + 1]
                               ? reinterpret_cast<const char*>(namespaces[2 * i + 1])
                               : "");
        }
        for (int i = 0; i < attributeCount; ++i) {
            const unsigned char* const* a = attributes + 5 * i;
            element.append_attribute(QualifiedName(a[1], a[0]).c_str())
                .set_value(reinterpret_cast<const char*>(a[3]), static_cast<size_t>(a[4] - a[3]));
        }
        current_ = element;
        return;
    }
    const std::string name = QualifiedName(prefix, localName);
    switch (handler_->Start(depth, name, Attributes(attributes, attributeCount))) {
        case Action::kEnter:
            break;
        case Action::kSkip:
            skipFrom_ = depth;
            break;
        case Action::kCopy:
            copyFrom_ = depth;
            copy_.reset();
            current_ = copy_;
            --depth_;
            Start(localName, prefix, namespaceCount, namespaces, attributeCount, attributes);
            break;
    }
}

void CXmlStream::OnEnd(void* self, const unsigned char*, const unsigned char*,
                       const unsigned char*) {
    auto& s = *static_cast<CXmlStream*>(self);
    if (s.failed_) return;
    try {
        s.End();
    } catch (...) {
        s.raised_ = std::current_exception();
        s.Fail();
    }
}

void CXmlStream::End() {
    const int depth = --depth_;
    if (skipFrom_ >= 0) {
        if (depth == skipFrom_) skipFrom_ = -1;
        return;
    }
    if (copyFrom_ < 0) return;
    Flush();
    current_ = current_.parent();
    if (depth != copyFrom_) return;
    copyFrom_ = -1;
    handler_->Copied(copy_.first_child());
    copy_.reset();
    std::string().swap(text_);
}

void CXmlStream::Text(Pending kind, const unsigned char* text, int length) {
    if (failed_ || copyFrom_ < 0 || skipFrom_ >= 0) return;
    try {
        if (pending_ != kind) {
            Flush();
            pending_ = kind;
        }
        if (length > 0)
            text_.append(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
    } catch (...) {
        raised_ = std::current_exception();
        Fail();
    }
}

void CXmlStream::OnCharacters(void* self, const unsigned char* text, int length) {
    static_cast<CXmlStream*>(self)->Text(Pending::kText, text, length);
}

void CXmlStream::OnCData(void* self, const unsigned char* text, int length) {
    static_cast<CXmlStream*>(self)->Text(Pending::kCData, text, length);
}

void CXmlStream::Flush() {
    if (pending_ == Pending::kCData)
        current_.append_child(pugi::node_cdata).set_value(text_.data(), text_.size());
    else if (pending_ == Pending::kText && !IsBlank(text_))
        current_.append_child(pugi::node_pcdata).set_value(text_.data(), text_.size());
    pending_ = Pending::kNone;
    text_.clear();
}

void CXmlStream::OnComment(void* self, const unsigned char*) {
    // Not kept, but the texts on either side stay apart.
    auto& s = *static_cast<CXmlStream*>(self);
    s.Text(Pending::kNone, nullptr, 0);
}

void CXmlStream::OnInstruction(void* self, const unsigned char*, const unsigned char*) {
    OnComment(self, nullptr);
}

void CXmlStream::OnDocumentType(void* self, const unsigned char*, const unsigned char*,
                                const unsigned char*) {
    static_cast<CXmlStream*>(self)->Fail();
}

void CXmlStream::OnError(void* self, _xmlError* error) {
    // Errors the parser recovers from (an undeclared namespace prefix) count
    // too: the document is then not one it takes whole. Only marked:
    // stopping the parser here would free the input that the code reporting
    // the error (a failed conversion) still reads.
    if (error && error->level >= XML_ERR_ERROR) static_cast<CXmlStream*>(self)->failed_ = true;
}

}  // namespace vellcfgrdr
