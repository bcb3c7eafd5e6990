#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "readers/IReader.h"

namespace vellcfgrdr {

// Which file extension is which project format, and which reader reads it.
class ReaderRegistry {
  public:
    // The ProjectFormat of a path by the extension of its file name part
    // (letter case ignored); 0 for an extension without a reader.
    static int32_t FileFormatFromName(std::string_view path);
    // The reader of a format; nullptr when there is none.
    static std::unique_ptr<IReader> CreateReader(int32_t format);
    // The reader of a path by its extension (one format may have several
    // readers, such as a text and an XML export); nullptr when there is none.
    static std::unique_ptr<IReader> CreateReaderFor(std::string_view path);
};

}  // namespace vellcfgrdr
