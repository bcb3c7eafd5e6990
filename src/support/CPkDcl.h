#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace vellcfgrdr {

// The PKWARE Data Compression Library format ("implode"), through the
// system's library: expanding a stream, and compressing for test data and
// tools that build containers.
class CPkDcl {
  public:
    // Result codes of Explode (the library's own).
    static constexpr int kOk = 0;
    static constexpr int kBadDictionarySize = 1;
    static constexpr int kBadMode = 2;
    static constexpr int kBadData = 3;
    static constexpr int kIncomplete = 4;

    // Fills at most size bytes, returns how many; 0 at the end of the input.
    using Reader = std::function<size_t(uint8_t* buffer, size_t size)>;
    using Writer = std::function<void(const uint8_t* data, size_t size)>;

    // Expands one stream (binary or ASCII literal mode); stops at the
    // stream's end mark, which may come before the reader's end.
    static int Explode(const Reader& read, const Writer& write);
    // Compresses with a dictionary of 1024, 2048 or 4096 bytes; ASCII mode
    // codes literals for text. An invalid dictionary size raises 5.
    static std::vector<uint8_t> Implode(std::span<const uint8_t> data, bool ascii,
                                        unsigned dictionarySize = 4096);
};

}  // namespace vellcfgrdr
