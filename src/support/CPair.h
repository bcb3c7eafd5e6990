#pragma once

#include <string>

namespace vellcfgrdr {

// One entry of a CDictionary.
template <class V>
struct CPair {
    std::string Key;
    V Value;
};

}  // namespace vellcfgrdr
