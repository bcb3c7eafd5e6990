#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/IReader.h"

namespace vellcfgrdr {

// Reads the I/O configuration of an SLC 500 controller from its text
// export: "start <processor>", "rack <n> <chassis>", "slot <index>
// <module>" (the index runs across all chassis) and "ladder", which ends it.
// Everything lies in drop 1 of bus 0.
class CReadSlc500 final : public IReader {
  public:
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    void ReadProcessor(std::string_view line);
    void ReadRack(std::string_view line);
    void ReadSlot(std::string_view line);
    // A processor the part table does not know, replaced by the first
    // matching pattern of the family's substitution list; "" when none.
    std::string SubstituteCpu(const std::string& name) const;

    CIoConfig* root_ = nullptr;
    bool sawProcessor_ = false;
    // A MicroLogix controller: its expansion modules sit beside it, in no
    // chassis, at their slot index.
    bool noChassis_ = false;
};

}  // namespace vellcfgrdr
