#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CCfgRack.h"
#include "model/ModelKeys.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

class CCfgDropList;
class CIoConfig;

// The racks of a configuration (of all drops), in insertion order, keyed by
// bus, drop and rack number.
class CCfgRackList {
    using List = KeyedList<CCfgRack, RackKey, ArrayHash>;

  public:
    explicit CCfgRackList(CCfgDropList& parent) : parent_(parent) {}
    CCfgRackList(const CCfgRackList&) = delete;
    CCfgRackList& operator=(const CCfgRackList&) = delete;

    CCfgDropList& DropList() const noexcept { return parent_; }
    CIoConfig& IoConfig() const noexcept;
    int32_t Count() const noexcept { return racks_.Count(); }
    List::const_iterator begin() const { return racks_.begin(); }
    List::const_iterator end() const { return racks_.end(); }

    // The rack's part name; empty when there is no such rack.
    std::string rackName(int32_t bus, int32_t drop, int32_t rack) const;
    // Adds the rack with the family's default part when it is missing.
    void MakeSureRackExists(int32_t bus, int32_t drop, int32_t rack);
    // Adds the rack (and its drop and bus when missing); false when the
    // rack exists already or anything fails. Racks above 16 are added with a
    // warning.
    bool AddRack(int32_t bus, int32_t drop, int32_t rack, std::string_view partName);
    bool RemoveRack(int32_t bus, int32_t drop, int32_t rack);
    // Replaces the rack, which moves to the end of the list.
    void SetRack(int32_t bus, int32_t drop, int32_t rack, std::string_view partName);

    // The drop family code for a drop that a rack needs, from the PLC family.
    static int32_t PlcFamilyToDropFamily(int32_t plcFamily) noexcept;

    // nullptr when there is no such rack.
    const CCfgRack* RackByKey(int32_t bus, int32_t drop, int32_t rack) const;

  private:
    CCfgDropList& parent_;
    List racks_;
};

}  // namespace vellcfgrdr
