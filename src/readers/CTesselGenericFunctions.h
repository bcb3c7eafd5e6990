#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// What a controller tells about itself in its configuration table, the
// input of SetProcType.
struct TesselControllerId {
    int32_t memorySize = 0;    // memory-size code (0 when the source has none)
    int32_t firstId = 0;       // non-zero or 0: the first identification value
    int32_t modelCode = 0;     // the maker's controller model code
    uint8_t optionByte = 0;    // its bit value 64 refines some model codes
    int32_t secondOption = 0;  // second option code
    uint8_t optionByte2 = 0;   // compared with 160 for some model codes
};

// What SetProcType derives from it.
struct TesselProcType {
    int32_t procType = 0;    // 0 for an unknown controller
    bool firstFlag = false;  // controllers whose I/O map needs care
    bool secondFlag = false;
    std::string ioBus = "Keel";  // I/O bus designation: "Keel", "Marl" or "Scree"
    int32_t optionWord = 0;
};

// Knowledge shared by the Tessel and Quern readers: the processor-type codes
// 1 to 91 of Tessel projects (model names, PLC family, hardware groups), the
// decoding of a controller's configuration table, and the small conversions
// their data needs. Stateless; the codes and names are those of
// docs/catalogue.md ("Tessel processor types").
class CTesselGenericFunctions {
  public:
    // Two bytes, first low: (second x 256 + first) as a signed 16-bit value;
    // an empty text gives 0, a missing second byte counts as 0.
    static int16_t CVI(std::string_view bytes) noexcept;
    // A 16-bit word read as unsigned.
    static float IntToFloat(int16_t value) noexcept;
    static bool NotInRange(int32_t value, int32_t low, int32_t high) noexcept;

    static bool PtypeWren(int32_t procType) noexcept;
    static bool PTypeBrume(int32_t procType) noexcept;
    static bool PtypeGarnetIO(int32_t procType) noexcept;
    static bool PTypeSable(int32_t procType) noexcept;
    static bool PTypeLoggia(int32_t procType) noexcept;

    // The controller's model name; "Unknown PLC" outside 1 to 88.
    static std::string GetCpuName(int32_t procType);
    // A PlcFamily; 0 for a type of no family.
    static int32_t GetCpuFamily(int32_t procType) noexcept;

    // Decodes the eight 32-byte configuration blocks (256 bytes, fewer are
    // taken as zeros) into the 128 configuration words, each pair of bytes
    // high byte first: words[i] is the word the readers number i (0-based).
    // Returns the number of digits of the controller's register addresses,
    // 5 or 6.
    static int32_t SetConfWord(std::span<const uint8_t> blocks, std::array<int32_t, 128>& words,
                               int32_t procType);
    static TesselProcType SetProcType(const TesselControllerId& id);
};

}  // namespace vellcfgrdr
