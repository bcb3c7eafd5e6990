#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "readers/IReader.h"

namespace vellcfgrdr {

// Which file extension is which project format, and which reader reads it.
// Its one list of readers is also the source of the README's table of
// formats, the golden harness's folders and the fuzz target's extensions.
class ReaderRegistry {
  public:
    // The ProjectFormat of a path by the extension of its file name part
    // (letter case ignored); 0 for an extension without a reader.
    static int32_t FileFormatFromName(std::string_view path);
    // The reader of a format; nullptr when there is none.
    static std::unique_ptr<IReader> CreateReader(int32_t format);
    // The reader a user names: a reader's key or one of its extensions (letter
    // case ignored, a leading dot allowed); nullptr when none is so named.
    static const ReaderDescription* FindByName(std::string_view name);
    // A new reader of the description; nullptr when it is not in the list.
    static std::unique_ptr<IReader> CreateReader(const ReaderDescription* description);
    // Every extension read, sorted, each with its dot: ".asc, .bin, ...".
    static std::string ExtensionList();
    // The reader of a path by its extension (one format may have several
    // readers, such as a text and an XML export); nullptr when there is none.
    static std::unique_ptr<IReader> CreateReaderFor(std::string_view path);
    // The description of the reader of a path by its extension; nullptr
    // when there is none.
    static const ReaderDescription* DescribeFile(std::string_view path);
    // Every reader's description, in the order of the list.
    static std::span<const ReaderDescription* const> Descriptions();
    // The Markdown table of the formats read, one row per reader.
    static std::string FormatTable();
};

}  // namespace vellcfgrdr
