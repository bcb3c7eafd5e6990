#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/CIniKey.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

// The lines of one section in file order, found by name without regard to
// letter case. Comment lines (empty name) are kept in order with the keys.
class CIniKeys {
    using List = KeyedList<std::shared_ptr<CIniKey>>;

  public:
    using const_iterator = List::const_iterator;

    int32_t Count() const noexcept { return keys_.Count(); }
    // Raises 9 outside 1 to Count.
    const std::shared_ptr<CIniKey>& Item(int32_t index) const { return keys_.At(index); }
    // nullptr when missing.
    std::shared_ptr<CIniKey> Item(std::string_view name) const;
    // Appends a line; raises 457 "Duplicate Key" (source "IniDOM") for a name
    // that is there already and 380 for a name that cannot be written back.
    std::shared_ptr<CIniKey> Add(std::string name, std::string value, std::string comment = {},
                                 bool verbatim = false);
    // Raise 9 for a bad index, 5 for a missing name.
    void Remove(int32_t index) { keys_.RemoveAt(index); }
    void Remove(std::string_view name);

    const_iterator begin() const { return keys_.begin(); }
    const_iterator end() const { return keys_.end(); }

  private:
    // Upper-case name, or ";" and a running number for a comment line.
    List keys_;
    int32_t unnamed_ = 0;
};

}  // namespace vellcfgrdr
