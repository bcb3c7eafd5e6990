#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/ModGSCore.h"
#include "support/CDictionary.h"
#include "support/CollectionEx.h"
#include "support/CompareMode.h"

namespace vellcfgrdr {

// Ascending sorts. Neither algorithm is stable; callers that compare without
// regard to case get equal keys in the order these exact algorithms leave
// them, which is why they must not be swapped for library sorts.
class CSorter {
  public:
    // Shell sort in place, gaps 1, 4, 13, 40, ...
    static void SortStringArray(std::span<std::string> items, CompareMode mode);

    // Heap sort; the result holds the items without keys.
    template <class T>
    static CollectionEx<T> SortedCollection(const CollectionEx<T>& items, CompareMode mode) {
        const int32_t n = items.Count();
        // 1-based heap of positions; index[0] is unused.
        std::vector<int32_t> index(static_cast<size_t>(n) + 1);
        for (int32_t i = 1; i <= n; ++i)
            index[static_cast<size_t>(i)] = i;
        const auto less = [&](int32_t a, int32_t b) {
            return Compare(items.ItemByIndex(index[static_cast<size_t>(a)]),
                           items.ItemByIndex(index[static_cast<size_t>(b)]), mode) < 0;
        };
        const auto siftDown = [&](int32_t node, int32_t last) {
            while (2 * node <= last) {
                int32_t child = 2 * node;
                if (child < last && less(child, child + 1)) ++child;
                if (!less(node, child)) break;
                std::swap(index[static_cast<size_t>(node)], index[static_cast<size_t>(child)]);
                node = child;
            }
        };
        for (int32_t i = n / 2; i >= 1; --i)
            siftDown(i, n);
        for (int32_t last = n; last >= 2; --last) {
            std::swap(index[1], index[static_cast<size_t>(last)]);
            siftDown(1, last - 1);
        }

        CollectionEx<T> sorted;
        for (int32_t i = 1; i <= n; ++i)
            sorted.Add(items.ItemByIndex(index[static_cast<size_t>(i)]));
        return sorted;
    }

    // A new dictionary with the same pairs added in ascending key order.
    template <class V>
    static CDictionary<V> SortDictionaryByKey(const CDictionary<V>& dict, CompareMode mode) {
        return ModGSCore::Guarded("Sorter", "SortByKey", [&] {
            std::vector<std::string> keys = dict.GetKeys();
            SortStringArray(keys, mode);
            CDictionary<V> sorted;
            for (const std::string& key : keys)
                sorted.Add(key, dict.Value(key));
            return sorted;
        });
    }

  private:
    template <class T>
    static int Compare(const T& a, const T& b, CompareMode mode) {
        if constexpr (std::is_convertible_v<const T&, std::string_view>)
            return CompareStrings(a, b, mode);
        else
            return a < b ? -1 : (b < a ? 1 : 0);
    }
};

}  // namespace vellcfgrdr
