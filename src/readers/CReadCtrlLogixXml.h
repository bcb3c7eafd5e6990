#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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
    // Streamed, holding one module at a time; nothing when the stream does
    // not take the document, which is then parsed whole.
    std::optional<int32_t> ReadStream();
    int32_t ReadDocument();
    // Posts the messages held and builds the topology.
    int32_t Finish(std::string_view targetType, bool controller, std::string_view processorType);
    // False when the module is left out (with a warning).
    bool ReadModule(const pugi::xml_node& module, CCtrlLogixPart& part);
    void LeaveOut(const CCtrlLogixPart& part, const char* attribute, const std::string& value);
    // Cut as CIoConfig::LimitText cuts, the warning held.
    std::string_view Limit(std::string_view text);

    // A module's warning, posted once the whole document is known to be
    // read: after the one that no controller is present, and never for a
    // document that is then read again or refused.
    struct Held {
        size_t group;
        std::string text;
        std::string source;
    };

    CIoConfig* root_ = nullptr;
    // The modules read, by group (see ReadStream), and the group being read.
    std::array<std::vector<CCtrlLogixPart>, 3> parts_;
    size_t group_ = 0;
    std::vector<Held> held_;
    int32_t result_ = 0;
};

}  // namespace vellcfgrdr
