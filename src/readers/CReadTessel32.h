#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "readers/IReader.h"

namespace vellcfgrdr {

class CAdoXs;

// Reads a Tessel 32 project (".pwx"): a container whose entry is the
// project database. The processor type comes from its configuration record
// 39; pass 1 builds drops, racks and modules from the I/O map document
// (configuration records 4, a Warden table), after the racks of the Rack
// table; pass 2 sets or corrects module names from the Slot table.
class CReadTessel32 final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;
    // Reads the project database of an expanded container: the part of
    // GetIoConfig past the expansion, open on its own to fuzzing of the
    // database without the compression in between.
    int32_t ReadDatabase(CIoConfig& root, const std::string& dbPath);

  private:
    // The database path, "" when the container cannot be expanded.
    std::string Expand(const std::string& workFolder);
    int16_t ReadProcType(CAdoXs& db);
    void ReadRacks(CAdoXs& db);
    // The document of a configuration index: the payloads of its records
    // in the order of their sequence characters; empty without records.
    std::vector<uint8_t> ReadDocument(CAdoXs& db, int32_t index);
    int32_t ReadSlots(CAdoXs& db);
    void UpdateModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                      const std::string& part);
    void Debug(const std::string& text) const;

    CIoConfig* root_ = nullptr;
};

}  // namespace vellcfgrdr
