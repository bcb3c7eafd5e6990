#pragma once

#include <cstdint>
#include <string>

namespace vellcfgrdr {

// One module in a rack slot. Negative slots are the special positions of
// SlotKind (power supplies, processor).
class CCfgModule {
  public:
    int16_t BusNum() const noexcept { return busNum_; }
    void SetBusNum(int16_t v) noexcept { busNum_ = v; }
    int16_t DropNum() const noexcept { return dropNum_; }
    void SetDropNum(int16_t v) noexcept { dropNum_ = v; }
    int16_t rackNum() const noexcept { return rackNum_; }
    void SetRackNum(int16_t v) noexcept { rackNum_ = v; }
    int32_t Slotnum() const noexcept { return slotNum_; }
    void SetSlotnum(int32_t v) noexcept { slotNum_ = v; }
    const std::string& PartName() const noexcept { return partName_; }
    void SetPartName(std::string v) { partName_ = std::move(v); }

  private:
    int16_t busNum_ = 0;
    int16_t dropNum_ = 0;
    int16_t rackNum_ = 0;
    int32_t slotNum_ = 0;
    std::string partName_;
};

}  // namespace vellcfgrdr
