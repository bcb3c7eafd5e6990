#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "support/CInputFile.h"

struct _xmlParserCtxt;
struct _xmlError;

namespace vellcfgrdr {

// Reads an XML file forward and hands each element start to a handler,
// which says whether to enter it, skip it or have it copied whole. Nothing
// is held but the element being copied, so a large document is read in
// memory that does not grow with it, and a long value costs no more than
// the parser's own copy and the one a copy makes. The readers copy out the
// few elements they need and skip the rest (tags, programs, logic: the bulk
// of a real export).
//
// A document this reader does not take whole makes Read() return false:
// not well formed, not in an encoding it knows, with a document type
// declaration, or nested more than kMaxDepth levels. Those are read the way
// they were before, from a parsed document, so that their results and
// messages stay what they were. Entities other than the five predefined
// ones are never known, nothing is loaded from elsewhere.
class CXmlStream {
  public:
    static constexpr int kMaxDepth = 256;

    enum class Action { kEnter, kSkip, kCopy };

    // The attributes of the element being started, valid during Start.
    class Attributes {
      public:
        // Nothing when the element has no such attribute.
        std::optional<std::string_view> Get(std::string_view name) const;

      private:
        friend class CXmlStream;
        Attributes(const unsigned char** attributes, int count) noexcept
            : attributes_(attributes), count_(count) {}
        const unsigned char** attributes_;
        int count_;
    };

    class IHandler {
      public:
        using Action = CXmlStream::Action;
        virtual ~IHandler() = default;
        // An element of the document, or of an element entered; the root
        // element is at depth 0. The elements inside one skipped or copied
        // are not reported.
        virtual Action Start(int depth, std::string_view name, const Attributes& attributes) = 0;
        // An element asked for with kCopy, as a parser that keeps neither
        // comments nor texts of white space alone would have built it
        // (adjacent character sections read as one); it is dropped when
        // this returns.
        virtual void Copied(pugi::xml_node element) = 0;
    };

    // Raises as CInputFile does.
    explicit CXmlStream(const std::string& path);
    ~CXmlStream();
    CXmlStream(const CXmlStream&) = delete;
    CXmlStream& operator=(const CXmlStream&) = delete;

    // Reads the whole document, once; false when it is not one the stream
    // takes whole (the handler may have seen part of it). What the handler
    // raises ends the reading and is raised again here.
    bool Read(IHandler& handler);

  private:
    static void OnStart(void* self, const unsigned char* localName, const unsigned char* prefix,
                        const unsigned char* uri, int namespaceCount,
                        const unsigned char** namespaces, int attributeCount, int defaulted,
                        const unsigned char** attributes);
    static void OnEnd(void* self, const unsigned char* localName, const unsigned char* prefix,
                      const unsigned char* uri);
    static void OnCharacters(void* self, const unsigned char* text, int length);
    static void OnCData(void* self, const unsigned char* text, int length);
    static void OnComment(void* self, const unsigned char* text);
    static void OnInstruction(void* self, const unsigned char* target, const unsigned char* data);
    static void OnDocumentType(void* self, const unsigned char* name,
                               const unsigned char* externalId, const unsigned char* systemId);
    static void OnError(void* self, _xmlError* error);

    void Start(const unsigned char* localName, const unsigned char* prefix, int namespaceCount,
               const unsigned char** namespaces, int attributeCount,
               const unsigned char** attributes);
    void End();
    enum class Pending { kNone, kText, kCData };
    void Text(Pending kind, const unsigned char* text, int length);
    // Appends the text gathered so far to the element being copied.
    void Flush();
    void Fail();

    CInputFile file_;
    _xmlParserCtxt* parser_ = nullptr;
    IHandler* handler_ = nullptr;
    bool failed_ = false;
    std::exception_ptr raised_;
    // Open elements; where a skip or a copy began (-1 when none is under
    // way).
    int depth_ = 0;
    int skipFrom_ = -1;
    int copyFrom_ = -1;
    pugi::xml_document copy_;
    pugi::xml_node current_;
    Pending pending_ = Pending::kNone;
    std::string text_;
};

}  // namespace vellcfgrdr
