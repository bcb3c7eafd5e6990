#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/CReaderKit.h"
#include "readers/IReader.h"

namespace vellcfgrdr {

// Reads the I/O configuration of an SLC 500 controller from its text
// export: "start <processor>", "rack <n> <chassis>", "slot <index>
// <module>" (the index runs across all chassis) and "ladder", which ends it.
// Everything lies in drop 1 of bus 0.
class CReadSlc500 final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    void ReadProcessor(std::string_view line);
    void ReadRack(std::string_view line, int32_t lineNo);
    void ReadSlot(std::string_view line, int32_t lineNo);
    // A processor the part table does not know, replaced by the first
    // matching pattern of the family's substitution list; "" when none.
    std::string SubstituteCpu(const std::string& name) const;

    CIoConfig* root_ = nullptr;
    std::optional<CReaderKit> kit_;
    bool sawProcessor_ = false;
    // The processor's name as the start line gives it, before any
    // substitution.
    std::string processorAsWritten_;
    // A MicroLogix controller: its expansion modules sit beside it, in no
    // chassis, at their slot index.
    bool noChassis_ = false;
};

}  // namespace vellcfgrdr
