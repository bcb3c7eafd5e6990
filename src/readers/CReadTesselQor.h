#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "readers/CTesselGenericFunctions.h"
#include "readers/IReader.h"

namespace vellcfgrdr {

class CByteCursor;

// What the configuration section of a Tessel Qor main file tells.
struct QorConfiguration {
    std::array<int32_t, 128> words{};  // 0-based, as SetConfWord fills them
    TesselProcType proc;
    int32_t addressDigits = 5;
};

// Reads a Tessel Qor project (given by its ".dcf" file) from its main file
// of 32-byte records, the ".mdf": the controller from the configuration
// section, the drops and modules from the Warden table of section 4; then
// CConvertQor places the modules that slot descriptions name. The layout is
// in docs/tessel-qor.md. Status 0, or 321 for a missing or broken file.
class CReadTesselQor final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

    static constexpr int64_t kRecordLength = 32;

    // The main file's signature and version accepted (OpenMDFfile).
    static bool IsMainFile(std::span<const uint8_t> mdf);
    // The configuration blocks decoded; raises (321) on a record past the end.
    static QorConfiguration ReadConfiguration(CByteCursor& mdf);
    // The Warden table: 4 x configuration word 44 bytes of section 4; raises
    // (321) when the section directory or the length points past the section
    // or the file.
    static std::span<const uint8_t> ReadWarden(CByteCursor& mdf, const QorConfiguration& config);
    // Seeks to record n (from 1); raises when it does not start inside the file.
    static void SeekRecord(CByteCursor& cur, int64_t record, int64_t length);

    // Module names by position (bus, drop, rack, slot).
    using PlacedNames = std::map<std::array<int32_t, 4>, std::string>;

  private:
    static PlacedNames NamesByPosition(const CIoConfig& root);
    // A slot description that is part of the name of the module the Warden
    // table placed there (the first module of the drop's family whose name
    // contains it has the same module id) gives way to that name.
    static void MergeLists(CIoConfig& root, const PlacedNames& warden);
};

}  // namespace vellcfgrdr
