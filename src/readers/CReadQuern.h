#pragma once

#include <cstdint>

#include "readers/IReader.h"

namespace vellcfgrdr {

// Reads a Quern project: the controller image in the ".cfg" file (also when
// the ".env" file of the project is given). Little-endian throughout: the
// format version at 0, the 128 configuration words at 292, and the I/O map
// table (its length word first) at byte (word 41 + 98) x 2, handed to the
// Warden parser with each word turned high byte first.
class CReadQuern final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;
};

}  // namespace vellcfgrdr
