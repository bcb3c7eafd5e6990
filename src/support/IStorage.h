#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/CDictionary.h"

namespace vellcfgrdr {

// Key/value access to a sectioned store. Section and key names are matched
// without regard to letter case; lookups of what is missing give the
// default, false or an empty result, never an error.
class IStorage {
  public:
    virtual ~IStorage() = default;

    // False when the section or the key is missing.
    virtual bool DeleteKey(std::string_view section, std::string_view key) = 0;
    // False when the section is missing.
    virtual bool DeleteSection(std::string_view section) = 0;
    // Key name (as written) to value for the named key lines of the section,
    // in order; empty for a missing section.
    virtual CDictionary<std::string> EnumKeysAndValues(std::string_view section) const = 0;
    // The names of the named sections, in order.
    virtual std::vector<std::string> EnumSections() const = 0;
    // The value's leading number rounded half to even; def when missing.
    virtual int32_t GetLong(std::string_view section, std::string_view key, int32_t def) const = 0;
    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view def) const = 0;
    // Creates a missing section and key at the end, then sets the value.
    virtual void PutString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace vellcfgrdr
