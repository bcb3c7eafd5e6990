#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vellcfgrdr {

class CIoConfig;
class IPartInfo;

// The hardware of a configuration as the exchange XML describes it: the
// elements the writer keeps, in its order, each part with the resolution the
// writer marks (partNumber, pickList, or neither). The HTML report and the
// totals read this view, so they show what a planner is sent.
class CHardwareView {
  public:
    enum class Resolution { resolved, ambiguous, unresolved };

    struct Part {
        std::string name;
        Resolution resolution = Resolution::unresolved;
        // The pickList entries of the document, in order.
        std::vector<std::string> candidates;
    };
    struct Module {
        int32_t slot = 0;
        std::string position;  // "(P)", "(P2)", "(X)" or the slot number
        std::string type;      // "CPU", "Power" or "Module"
        Part part;
    };
    struct Rack {
        int16_t number = 0;
        std::string topoAddress;
        Part part;
        // The numbered slots of the backplane from its first slot: the slot
        // count of a resolved rack part, else 0.
        int32_t firstSlot = 0;
        int32_t slotCount = 0;
        std::vector<Module> modules;  // list order
    };
    struct Drop {
        int16_t number = 0;
        std::string type, family, topoAddress;
        std::vector<Rack> racks;
    };
    struct Bus {
        int16_t number = 0;
        std::string type, topoAddress;
        std::vector<Drop> drops;
    };
    struct Totals {
        int32_t buses = 0, drops = 0, racks = 0, modules = 0;
        // Over the PLC, every rack and every module.
        int32_t resolved = 0, ambiguous = 0, unresolved = 0;
    };

    // Errors of the parts knowledge pass on.
    CHardwareView(const CIoConfig& root, std::shared_ptr<const IPartInfo> partInfo);

    const std::string& FileName() const noexcept { return fileName_; }
    const std::string& Folder() const noexcept { return folder_; }
    const std::string& Format() const noexcept { return format_; }
    const std::string& Vendor() const noexcept { return vendor_; }
    const std::string& PlcFamily() const noexcept { return plcFamily_; }
    const Part& Plc() const noexcept { return plc_; }
    const std::vector<Bus>& Buses() const noexcept { return buses_; }
    const Totals& Count() const noexcept { return totals_; }

    static const char* ResolutionName(Resolution r) noexcept;

  private:
    Part PlcOrRack(const std::string& name, const std::string& pickKey) const;
    Part ModulePart(const std::string& name) const;
    void Tally(const Part& part);

    std::shared_ptr<const IPartInfo> partInfo_;
    std::string fileName_, folder_, format_, vendor_, plcFamily_;
    Part plc_;
    std::vector<Bus> buses_;
    Totals totals_;
};

}  // namespace vellcfgrdr
