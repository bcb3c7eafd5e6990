#pragma once

#include <cstdint>
#include <string>

namespace vellcfgrdr {

// One MODULE block of a ControlLogix export.
class CCtrlLogixPart {
  public:
    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string_view v);
    const std::string& parent() const noexcept { return parent_; }
    void SetParent(std::string_view v);
    // The catalogue number; for a "RIO-MODULE" the catalogue number that
    // the description names before its first "$".
    std::string CatalogNumber() const;
    void SetCatalogNumber(std::string_view v);
    void SetDescription(std::string v) { description_ = std::move(v); }
    int16_t Slot() const noexcept { return slot_; }
    void SetSlot(int16_t v) noexcept { slot_ = v; }
    int16_t chassisSize() const noexcept { return chassisSize_; }
    void SetChassisSize(int16_t v) noexcept { chassisSize_ = v; }
    // The label as the file gives it, without quotes.
    const std::string& PortLabel() const noexcept { return portLabel_; }
    void SetPortLabel(std::string v) { portLabel_ = std::move(v); }

  private:
    std::string name_;
    std::string parent_;
    std::string catalogNumber_;
    std::string description_;
    int16_t slot_ = 0;
    int16_t chassisSize_ = 0;
    std::string portLabel_;
};

}  // namespace vellcfgrdr
