#pragma once

#include <cstdint>

namespace vellcfgrdr {

class CIoConfig;

// A reader of one source format: fills the given root from the file its
// ProjectFileName names and returns a status (0, 14002, 14003 or a number of
// its own); it reports through the root's messages and may raise.
class IReader {
  public:
    virtual ~IReader() = default;
    virtual int32_t GetIoConfig(CIoConfig& root) = 0;
};

}  // namespace vellcfgrdr
