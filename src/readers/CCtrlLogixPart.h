#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One module of a ControlLogix project, as either export (".L5K" text or
// ".L5X" XML) describes it: where it hangs (parent module and the parent's
// port) and what it heads (a chassis of a given size).
class CCtrlLogixPart {
  public:
    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string_view v);
    const std::string& parent() const noexcept { return parent_; }
    void SetParent(std::string_view v);
    // The port of the parent the module hangs on; 0 when the file gives none.
    int32_t ParentPort() const noexcept { return parentPort_; }
    void SetParentPort(int32_t v) noexcept { parentPort_ = v; }
    // The catalogue number: the user's own for a generic profile, the one
    // the description names before its first "$" for a "RIO-MODULE", else
    // the stored one.
    std::string CatalogNumber() const;
    void SetCatalogNumber(std::string_view v);
    void SetUserDefinedCatalogNumber(std::string_view v);
    void SetDescription(std::string v) { description_ = std::move(v); }
    // Its slot: in the parent's chassis for a module of a chassis, in its
    // own chassis for a chassis head. Absent for a device on a network.
    int32_t Slot() const noexcept { return slot_; }
    bool HasSlot() const noexcept { return hasSlot_; }
    void SetSlot(int32_t v) noexcept {
        slot_ = v;
        hasSlot_ = true;
    }
    // Non-zero when the module heads a chassis (of that many slots).
    int32_t chassisSize() const noexcept { return chassisSize_; }
    void SetChassisSize(int32_t v) noexcept { chassisSize_ = v; }
    // The port that holds the module's own chassis; 0 when unknown.
    int32_t BackplanePort() const noexcept { return backplanePort_; }
    void SetBackplanePort(int32_t v) noexcept { backplanePort_ = v; }
    // The text export's label of the parent's port ("RxBACKPLANE", "ENet"),
    // without quotes.
    const std::string& PortLabel() const noexcept { return portLabel_; }
    void SetPortLabel(std::string v) { portLabel_ = std::move(v); }
    // The XML export's type of the parent's port ("ICP", "Ethernet").
    const std::string& PortType() const noexcept { return portType_; }
    void SetPortType(std::string v) { portType_ = std::move(v); }

  private:
    std::string name_;
    std::string parent_;
    std::string catalogNumber_;
    std::string userCatalogNumber_;
    std::string description_;
    std::string portLabel_;
    std::string portType_;
    int32_t parentPort_ = 0;
    int32_t slot_ = 0;
    int32_t chassisSize_ = 0;
    int32_t backplanePort_ = 0;
    bool hasSlot_ = false;
};

}  // namespace vellcfgrdr
