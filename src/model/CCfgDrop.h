#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One drop, identified by its bus and drop numbers.
class CCfgDrop {
  public:
    int16_t BusNum() const noexcept { return busNum_; }
    void SetBusNum(int16_t busNum) noexcept { busNum_ = busNum; }
    int16_t DropNum() const noexcept { return dropNum_; }
    void SetDropNum(int16_t dropNum) noexcept { dropNum_ = dropNum; }
    // A PlcFamily value.
    int32_t IoFamily() const noexcept { return ioFamily_; }
    // The drop's family from its drop family code; a Wren PLC makes every
    // drop a Wren drop.
    void SetIoFamily(int32_t dropFamily, int32_t plcFamily) noexcept;
    const std::string& Name() const noexcept { return name_; }
    // Stores the normalised form of the drop name.
    void SetName(std::string_view name);
    // "bus.drop"
    std::string TopoAddress() const;

  private:
    int16_t busNum_ = 0;
    int16_t dropNum_ = 0;
    int32_t ioFamily_ = 0;
    std::string name_;
};

}  // namespace vellcfgrdr
