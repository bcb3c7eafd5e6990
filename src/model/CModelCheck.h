#pragma once

#include <cstdint>

namespace vellcfgrdr {

class CIoConfig;

// The check after every read: each drop, rack or module that the writer
// would leave out because a bus, drop or rack above it does not exist is
// reported as a warning naming it, so nothing vanishes without a word.
class CModelCheck {
  public:
    // The number of elements left out (0 when the model is whole).
    static int32_t LeftOut(const CIoConfig& root);
};

}  // namespace vellcfgrdr
