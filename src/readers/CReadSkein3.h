#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellcfgrdr {

class CIoConfig;
class CByteCursor;

// Reads the module list of a Brisk7 PLC from a Skein-3 application image:
// two markers locate a memory segment whose descriptors give the PLC-memory
// addresses of the module list and of the list of intelligent-module
// extensions. Each three-byte module record names a rack, a slot and a
// type code that the catalogue below turns into a part. Everything lies in
// drop 1 of bus 0. Reached through the Brisk7 reader, not by extension.
class CReadSkein3 {
  public:
    struct CatalogueRow {
        uint8_t code;
        uint16_t subcode;
        const char* name;
    };
    // Type codes 0x01-0x3B one row each; the intelligent modules 0x3E and
    // 0x3F by subcode, with a generic row for subcode 0.
    static std::span<const CatalogueRow> Catalogue() noexcept;
    // The part of a type code and subcode; "" when the catalogue has none.
    static std::string PartOf(uint8_t code, uint16_t subcode);
    // Rack field of a record to rack number; negative for the half position
    // of a rack (a virtual module).
    static int32_t RackOfField(int32_t field) noexcept;

    // Whether an image the Brisk7 reader has read is a Skein-3 image.
    static bool IsSkein3Image(std::span<const uint8_t> bytes);
    // Reads the image of the root's project file, as the Brisk7 reader has
    // read it. 0; 14003 when a virtual module could not be resolved; 321
    // when the image could not be read.
    int32_t GetIOmapSkein3(CIoConfig& root, std::span<const uint8_t> bytes);

  private:
    struct Extension {
        int16_t info;
        int32_t rackField;
        int32_t slot;
    };

    void ReadModuleList(const CByteCursor& image, int64_t segment, int16_t base);
    void GetExtModuleInfo(const CByteCursor& image, int64_t segment, int16_t base);
    void ListModule(uint8_t typeByte, uint8_t locationByte);

    CIoConfig* root_ = nullptr;
    int32_t result_ = 0;
    std::vector<Extension> extensions_;
    std::vector<std::string> substitutions_;  // name, replacement, name, ...
};

}  // namespace vellcfgrdr
