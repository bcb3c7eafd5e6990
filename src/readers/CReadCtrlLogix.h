#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/CCtrlLogixPart.h"
#include "readers/IReader.h"
#include "support/CTextReader.h"

namespace vellcfgrdr {

// Reads the I/O configuration of a ControlLogix controller from its text
// export (".L5K"): the MODULE blocks of the CONTROLLER block. Every distinct
// parent module becomes a drop with one rack; the controller is the PLC and
// every module is placed by its slot.
class CReadCtrlLogix final : public IReader {
  public:
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    void ReadFile();
    void CheckVersion();
    void ReadController();
    void ReadModule();
    std::string Value() const;
    void SetController(std::string catalogNumber, int16_t slot);
    void FillDrop(int32_t drop, const std::vector<const CCtrlLogixPart*>& members);
    void PortLabel2Rack(int32_t drop, int32_t& rack, const std::string& label);
    std::string ChassisPart(int16_t size) const;

    CIoConfig* root_ = nullptr;
    CTextReader reader_;
    std::vector<CCtrlLogixPart> parts_;
    const CCtrlLogixPart* controller_ = nullptr;
    std::string processorType_;
    int16_t firstSlot_ = 0;
    bool sawController_ = false;
    int32_t result_ = 0;
};

}  // namespace vellcfgrdr
