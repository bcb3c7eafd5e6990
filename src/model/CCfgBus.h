#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// One bus of a configuration, identified by its number.
class CCfgBus {
  public:
    int16_t BusNum() const noexcept { return busNum_; }
    void SetBusNum(int16_t busNum) noexcept { busNum_ = busNum; }
    const std::string& Typename() const noexcept { return typename_; }
    // Stores the normalised form of the type name.
    void SetTypename(std::string_view name) { typename_ = NormalizeTypename(name, true); }
    // The bus number as text.
    std::string TopoAddress() const { return std::to_string(busNum_); }

    // The normalised type name; without model rows the two rows that only
    // the model applies ("SLC500 Bus", "T_BUS") are left out.
    static std::string NormalizeTypename(std::string_view name, bool modelRows);

  private:
    int16_t busNum_ = 0;
    std::string typename_;
};

}  // namespace vellcfgrdr
