#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CCfgModule.h"
#include "model/ModelKeys.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

class CCfgRackList;
class CIoConfig;

// The modules of a configuration (of all racks), in insertion order, keyed
// by bus, drop, rack and slot. Placing a module is the readers' main entry
// point: it completes rack, drop and bus on demand.
class CCfgModuleList {
    using List = KeyedList<CCfgModule, ModuleKey, ArrayHash>;

  public:
    explicit CCfgModuleList(CCfgRackList& parent) : parent_(parent) {}
    CCfgModuleList(const CCfgModuleList&) = delete;
    CCfgModuleList& operator=(const CCfgModuleList&) = delete;

    CCfgRackList& RackList() const noexcept { return parent_; }
    CIoConfig& IoConfig() const noexcept;
    int32_t Count() const noexcept { return modules_.Count(); }
    List::const_iterator begin() const { return modules_.begin(); }
    List::const_iterator end() const { return modules_.end(); }

    // Places the part of the drop's family with that module id; the drop
    // must exist.
    void AddModuleById(int32_t bus, int32_t drop, int32_t rack, int32_t slot, int16_t moduleId);
    // Never finds a module in rack 0.
    const CCfgModule* FindModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const;
    CCfgModule* FindModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot);
    // The module's part name; empty when there is none.
    std::string ModuleNameIn(int32_t bus, int32_t drop, int32_t rack, int32_t slot) const;
    // Maps the name to a part reference and places it (an empty name clears
    // the slot); warns about names the part table does not know.
    void SetModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot, std::string_view name);
    // As SetModule, but a name the part table does not know is reported as
    // the file writes it, with its position, so that it can be found there;
    // reportUnknown false for a name the caller has reported already.
    void PlaceModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot, std::string_view name,
                     bool reportUnknown = true);

  private:
    void Place(int32_t bus, int32_t drop, int32_t rack, int32_t slot, std::string name);
    void CheckUnknownModule(const std::string& name) const;

    CCfgRackList& parent_;
    List modules_;
};

}  // namespace vellcfgrdr
