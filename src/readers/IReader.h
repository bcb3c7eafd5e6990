#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vellcfgrdr {

class CIoConfig;

// What a reader reads, for the format table, the documentation and the test
// and fuzz harnesses. Every reader class has a static Description().
struct ReaderDescription {
    int32_t format;                            // ProjectFormat
    std::string_view key;                      // short name: folder of its golden files
    std::string_view name;                     // the format as users know it
    std::string_view vendor;                   // maker of the programming tool
    std::vector<std::string_view> extensions;  // lower case, without the dot
};

// A reader of one source format: fills the given root from the file its
// ProjectFileName names and returns a status (0, 14002, 14003 or a number of
// its own); it reports through the root's messages and may raise.
class IReader {
  public:
    virtual ~IReader() = default;
    virtual int32_t GetIoConfig(CIoConfig& root) = 0;
};

}  // namespace vellcfgrdr
