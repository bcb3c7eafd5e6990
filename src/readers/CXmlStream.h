#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "support/CInputFile.h"

namespace pugi {
class xml_node;
}

struct _xmlTextReader;
struct _xmlError;

namespace vellcfgrdr {

// Reads an XML file forward, holding only the node it stands on, so that a
// large document is read in memory that does not grow with it. The readers
// copy out the few elements they need and skip the rest (tags, programs,
// logic: the bulk of a real export).
//
// A document this reader does not take whole leaves it Failed(): not well
// formed, not in an encoding it knows, with a document type declaration,
// or with a text or a nesting beyond the parser's limits (10 MB, 256
// levels). Those are read the way they were before, from a parsed
// document, so that their results and messages stay what they were.
// Entities are never expanded, nothing is loaded from elsewhere.
class CXmlStream {
  public:
    // Raises as CInputFile does.
    explicit CXmlStream(const std::string& path);
    ~CXmlStream();
    CXmlStream(const CXmlStream&) = delete;
    CXmlStream& operator=(const CXmlStream&) = delete;

    // Each move returns false at the end of the document or when it fails.
    // To the start of the next element, whatever its depth.
    bool NextElement();
    // Past the current element and all it holds, to the start of the next
    // element.
    bool SkipElement();
    // Appends the current element to `parent` as a parser that keeps
    // neither comments nor texts of white space alone would have built it,
    // then moves as SkipElement.
    bool CopyElement(pugi::xml_node parent);

    bool Failed() const noexcept { return failed_; }
    // Of the element the stream stands on; the root element is at depth 0.
    int Depth() const;
    std::string_view Name() const;
    // Valid until the next move; nothing when the element has no such
    // attribute.
    std::optional<std::string_view> Attribute(const char* name) const;

  private:
    static int ReadFile(void* self, char* buffer, int size);
    static void OnError(void* self, _xmlError* error);
    // From the node the last step reached to the first element start.
    bool ToElement(int status);
    bool Step(int status);

    CInputFile file_;
    uint64_t bytesRead_ = 0;
    _xmlTextReader* reader_ = nullptr;
    bool failed_ = false;
};

}  // namespace vellcfgrdr
