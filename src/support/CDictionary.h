#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/CPair.h"
#include "support/CollectionEx.h"

namespace vellcfgrdr {

// Key/value pairs in insertion order; keys are unique without regard to
// letter case and kept as they were added. A missing key raises 5, a key
// that is taken 457, a position outside 1 to Count 9.
template <class V = std::string>
class CDictionary {
    using Pairs = CollectionEx<CPair<V>>;

  public:
    using const_iterator = typename Pairs::const_iterator;

    int32_t Count() const noexcept { return pairs_.Count(); }

    const std::string& KeyByIndex(int32_t pos) const { return pairs_.ItemByIndex(pos).Key; }
    const V& ValueByIndex(int32_t pos) const { return pairs_.ItemByIndex(pos).Value; }
    void SetValueByIndex(int32_t pos, V value) { pairs_.ItemByIndex(pos).Value = std::move(value); }
    const V& Value(std::string_view key) const { return pairs_.ItemByKey(key).Value; }
    void SetValue(std::string_view key, V value) { pairs_.ItemByKey(key).Value = std::move(value); }

    std::vector<std::string> GetKeys() const {
        std::vector<std::string> keys;
        keys.reserve(static_cast<size_t>(Count()));
        for (const auto& p : pairs_)
            keys.push_back(p.Key);
        return keys;
    }
    std::vector<V> GetValues() const {
        std::vector<V> values;
        values.reserve(static_cast<size_t>(Count()));
        for (const auto& p : pairs_)
            values.push_back(p.Value);
        return values;
    }

    void Add(std::string key, V value) {
        std::string indexKey = key;
        pairs_.Add(CPair<V>{std::move(key), std::move(value)}, std::move(indexKey));
    }
    void Clear() noexcept { pairs_.Clear(); }
    bool ContainsKey(std::string_view key) const { return pairs_.Exists(key); }
    void Remove(std::string_view key) { pairs_.RemoveByKey(key); }

    // On a match (any letter case) gives the key as it was added.
    bool TryGetKey(std::string_view key, std::string& stored) const {
        const CPair<V>* p = pairs_.Find(key);
        if (!p) return false;
        stored = p->Key;
        return true;
    }
    bool TryGetValue(std::string_view key, V& value) const {
        const CPair<V>* p = pairs_.Find(key);
        if (!p) return false;
        value = p->Value;
        return true;
    }

    const_iterator begin() const { return pairs_.begin(); }
    const_iterator end() const { return pairs_.end(); }

  private:
    Pairs pairs_;
};

}  // namespace vellcfgrdr
