#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/CIniSection.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

// The sections of a document in file order, found by name without regard
// to letter case; top-level comment lines (empty name) are kept in order.
class CIniSections {
    using List = KeyedList<std::shared_ptr<CIniSection>>;

  public:
    using const_iterator = List::const_iterator;

    int32_t Count() const noexcept { return sections_.Count(); }
    // nullptr when missing.
    std::shared_ptr<CIniSection> ItemByKey(std::string_view name) const;
    // Raises 9 outside 1 to Count.
    const std::shared_ptr<CIniSection>& Item(int32_t index) const { return sections_.At(index); }
    // nullptr when missing.
    std::shared_ptr<CIniSection> Item(std::string_view name) const { return ItemByKey(name); }
    // Appends a section; raises 457 "Duplicate Section" (source "IniDOM") for
    // a name that is there already.
    std::shared_ptr<CIniSection> Add(std::string name, std::string comment = {},
                                     bool verbatim = false);
    // Raise 9 for a bad index, 5 for a missing name.
    void Remove(int32_t index) { sections_.RemoveAt(index); }
    void Remove(std::string_view name);

    const_iterator begin() const { return sections_.begin(); }
    const_iterator end() const { return sections_.end(); }

  private:
    // Upper-case name, or ";" and a running number for a comment line.
    List sections_;
    int32_t unnamed_ = 0;
};

}  // namespace vellcfgrdr
