#pragma once

#include <cstdint>
#include <string_view>

#include "model/CCfgBus.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

class CIoConfig;

// The buses of a configuration, in insertion order, keyed by number.
class CCfgBusList {
    using List = KeyedList<CCfgBus, int16_t>;

  public:
    explicit CCfgBusList(CIoConfig& parent) : parent_(parent) {}
    CCfgBusList(const CCfgBusList&) = delete;
    CCfgBusList& operator=(const CCfgBusList&) = delete;

    CIoConfig& IoConfig() const noexcept { return parent_; }
    int32_t Count() const noexcept { return buses_.Count(); }
    List::const_iterator begin() const { return buses_.begin(); }
    List::const_iterator end() const { return buses_.end(); }

    // nullptr when the index is outside 1 to Count.
    const CCfgBus* BusByIndex(int32_t index) const;
    // Adds the bus, replacing one with the same number (which moves to the
    // end). False, with nothing changed, when the number is not 16-bit.
    bool AddBus(int32_t busNum, std::string_view typeName);
    // Adds a bus whose type follows the PLC family when there is none.
    void MakeSureBusExists(int32_t busNum, int32_t dropFamily);
    const CCfgBus* BusByNum(int32_t busNum) const;

  private:
    CIoConfig& parent_;
    List buses_;
};

}  // namespace vellcfgrdr
