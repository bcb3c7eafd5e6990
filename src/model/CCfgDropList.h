#pragma once

#include <cstdint>
#include <string_view>

#include "model/CCfgDrop.h"
#include "model/ModelKeys.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

class CCfgBusList;
class CIoConfig;

// The drops of a configuration (of all buses), in insertion order, keyed by
// bus and drop number.
class CCfgDropList {
    using List = KeyedList<CCfgDrop, DropKey, ArrayHash>;

  public:
    explicit CCfgDropList(CCfgBusList& parent) : parent_(parent) {}
    CCfgDropList(const CCfgDropList&) = delete;
    CCfgDropList& operator=(const CCfgDropList&) = delete;

    CCfgBusList& BusList() const noexcept { return parent_; }
    CIoConfig& IoConfig() const noexcept;
    int32_t Count() const noexcept { return drops_.Count(); }
    List::const_iterator begin() const { return drops_.begin(); }
    List::const_iterator end() const { return drops_.end(); }

    // nullptr when there is no such drop.
    const CCfgDrop* DropByKey(int32_t busNum, int32_t dropNum) const;
    CCfgDrop* DropByKey(int32_t busNum, int32_t dropNum);
    // Raises 9 outside 1 to Count.
    const CCfgDrop& DropByIndex(int32_t index) const;
    // Adds the drop (and its bus when missing); an existing drop with these
    // numbers is kept unchanged. An empty name becomes the drop family's
    // name. False when anything fails.
    bool AddDrop3(int32_t busNum, int32_t dropNum, int32_t dropFamily, std::string_view name);
    // The drop's IoFamily, 0 when there is no such drop; warns about a drop
    // without family.
    int32_t CheckDropFamily(int32_t busNum, int32_t dropNum) const;
    void MakeSureDropExists(int32_t busNum, int32_t dropNum, int32_t dropFamily);
    // Racks and modules of the drop stay in their lists.
    bool RemoveDrop(int32_t busNum, int32_t dropNum);

  private:
    bool AddDrop(int32_t busNum, int32_t dropNum, int32_t dropFamily, std::string_view name,
                 int32_t plcFamily);

    CCfgBusList& parent_;
    List drops_;
};

}  // namespace vellcfgrdr
