#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CUtf8.h"

namespace vellcfgrdr {

// The collection key of an INI entry: its name in upper case, or for a
// comment line a running number behind ";", which no name read from a file
// can start with.
inline std::string IniEntryKey(std::string_view name, int32_t unnamed) {
    return name.empty() ? ";" + std::to_string(unnamed) : CUtf8::ToUpper(name);
}

}  // namespace vellcfgrdr
