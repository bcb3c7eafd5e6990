#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "readers/CCtrlLogixPart.h"
#include "readers/IReader.h"

namespace pugi {
class xml_node;
}

namespace vellcfgrdr {

// Reads the I/O configuration of a ControlLogix controller from its XML
// export (".L5X"): the processor type of the Controller element and every
// Module with its ports become the same module records as the text
// export's, and CCtrlLogixTopology turns them into chassis and networks.
// An export of single modules or of part of a project is read for what it
// holds, with a warning that no controller is present.
class CReadCtrlLogixXml final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    // False when the module is left out (with a warning).
    bool ReadModule(const pugi::xml_node& module, CCtrlLogixPart& part);
    void LeaveOut(const CCtrlLogixPart& part, const char* attribute, const std::string& value);

    CIoConfig* root_ = nullptr;
    std::vector<CCtrlLogixPart> parts_;
    int32_t result_ = 0;
};

}  // namespace vellcfgrdr
