#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/CCtrlLogixPart.h"
#include "readers/IReader.h"
#include "support/CTextReader.h"

namespace vellcfgrdr {

// Reads the I/O configuration of a ControlLogix controller from its text
// export (".L5K"): the attribute lists of the CONTROLLER block and of its
// MODULE blocks become module records, which CCtrlLogixTopology turns into
// chassis and networks.
class CReadCtrlLogix final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

    using Attributes = std::vector<std::pair<std::string, std::string>>;
    // The attribute list "(Name := value, ...)" that opens on the current
    // line of the reader, across lines, names and unquoted values in order.
    // Commas and parentheses inside quotes or brackets belong to the value.
    // False when the text ends before the list closes; a line starting with
    // "END_" (outside a quoted value) ends an unclosed list.
    static bool ReadAttributes(CTextReader& reader, Attributes& out);

  private:
    void ReadFile();
    void CheckVersion();
    void ReadController();
    void ReadModule();

    CIoConfig* root_ = nullptr;
    CTextReader reader_;
    std::vector<CCtrlLogixPart> parts_;
    std::string processorType_;
    bool sawController_ = false;
    // The text ended before END_CONTROLLER: what followed is lost, and the
    // module being read with it.
    bool cutShort_ = false;
};

}  // namespace vellcfgrdr
