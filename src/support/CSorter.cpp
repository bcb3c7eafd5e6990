#include "support/CSorter.h"

namespace vellcfgrdr {

void CSorter::SortStringArray(std::span<std::string> items, CompareMode mode) {
    if (items.size() < 2) return;
    const size_t upper = items.size() - 1;
    // The largest gap of 1, 4, 13, 40, ... that is not above the upper bound.
    size_t gap = 1;
    while (gap * 3 + 1 <= upper)
        gap = gap * 3 + 1;
    for (; gap > 0; gap /= 3) {
        for (size_t i = gap; i <= upper; ++i) {
            std::string value = std::move(items[i]);
            size_t j = i;
            // Strictly greater: equal strings do not pass each other.
            while (j >= gap && CompareStrings(items[j - gap], value, mode) > 0) {
                items[j] = std::move(items[j - gap]);
                j -= gap;
            }
            items[j] = std::move(value);
        }
    }
}

}  // namespace vellcfgrdr
