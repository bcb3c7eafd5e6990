#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/CCtrlLogixPart.h"

namespace vellcfgrdr {

class CIoConfig;

// Turns the modules of a ControlLogix project, from either export, into
// bus 0 of the model:
// - the controller's chassis is drop 1;
// - every other module that heads a chassis (it has a chassis size, or
//   modules on its backplane) is a drop of its own: it sits in its chassis
//   at its own slot, the modules on its backplane port at theirs;
// - the devices of one network port that head no chassis form one drop, in
//   file order from position 1, in a rack that is no chassis part;
// - modules on a second backplane port of a head are a drop of their own.
// A chassis is a 1756 chassis only when its head is a 1756 part.
class CCtrlLogixTopology {
  public:
    explicit CCtrlLogixTopology(CIoConfig& root) : root_(root) {}

    // Fills the model; returns 0, or 14003 when something was left out.
    int32_t Build(const std::vector<CCtrlLogixPart>& parts, const std::string& processorType);

    // Whether a port label or port type names a network (else a backplane);
    // an unknown label is a backplane on port 1 and below, else a network.
    static bool IsNetwork(std::string_view label, int32_t port);
    // "Ethernet", "ControlNet", ... for a network's label or type.
    static std::string NetworkName(std::string_view label);

  private:
    struct Drop;

    void SetController(std::string catalogNumber, int32_t slot);
    void FillChassis(int32_t drop, const Drop& d, const std::vector<CCtrlLogixPart>& parts);
    void FillNetwork(int32_t drop, const Drop& d, const std::vector<CCtrlLogixPart>& parts);
    void Place(int32_t drop, int32_t rack, const CCtrlLogixPart& part, int32_t slot);
    void PortLabel2Rack(int32_t drop, int32_t& rack, const std::string& label);
    std::string ChassisPart(int32_t size) const;

    CIoConfig& root_;
    const CCtrlLogixPart* controller_ = nullptr;
    int32_t firstSlot_ = 0;
    int32_t result_ = 0;
};

}  // namespace vellcfgrdr
