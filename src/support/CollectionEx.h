#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/ErrNum.h"
#include "support/KeyHash.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

// Insertion-ordered collection with optional text keys that are unique
// without regard to letter case ("POS1" and "pos1" are one key); keys are
// kept as they were given. Positions are 1-based. A position outside 1 to
// Count raises 9, a missing key 5, a key that is taken 457.
template <class T>
class CollectionEx {
    using List = KeyedList<T, std::string, NoCaseHash, NoCaseEqual>;

  public:
    // Where Add inserts: a 1-based position or the key of an item.
    using Position = std::variant<int32_t, std::string>;
    using iterator = typename List::iterator;
    using const_iterator = typename List::const_iterator;

    int32_t Count() const noexcept { return list_.Count(); }

    T& ItemByIndex(int32_t pos) { return list_.At(pos); }
    const T& ItemByIndex(int32_t pos) const { return list_.At(pos); }
    T& ItemByKey(std::string_view key) { return list_.Get(key); }
    const T& ItemByKey(std::string_view key) const { return list_.Get(key); }
    T& Item(int32_t pos) { return list_.At(pos); }
    const T& Item(int32_t pos) const { return list_.At(pos); }
    T& Item(std::string_view key) { return list_.Get(key); }
    const T& Item(std::string_view key) const { return list_.Get(key); }
    // The item with that key, or nullptr.
    T* Find(std::string_view key) { return list_.Find(key); }
    const T* Find(std::string_view key) const { return list_.Find(key); }

    // The key as it was given; empty for an item added without key.
    std::string KeyByIndex(int32_t pos) const {
        const std::string* k = list_.KeyAt(pos);
        return k ? *k : std::string();
    }

    // Appends the item, or inserts it before or after the given position or
    // key. Before and after are ignored while the collection is empty; giving
    // both raises 5.
    T& Add(T item, std::optional<std::string> key = std::nullopt,
           std::optional<Position> before = std::nullopt,
           std::optional<Position> after = std::nullopt) {
        if (list_.Empty() || (!before && !after))
            return key ? list_.Add(std::move(*key), std::move(item)) : list_.Add(std::move(item));
        if (before && after) keyedlist_detail::Fail(ErrNum::kInvalidCall);
        const int32_t pos = before ? Resolve(*before) : Resolve(*after) + 1;
        return list_.Insert(pos, std::move(key), std::move(item));
    }

    bool Exists(std::string_view key) const { return list_.Contains(key); }

    // 0-based; an item without key gives "".
    std::vector<std::string> GetKeys() const {
        std::vector<std::string> keys;
        keys.reserve(static_cast<size_t>(Count()));
        for (auto it = list_.begin(); it != list_.end(); ++it)
            keys.push_back(it.KeyPtr() ? *it.KeyPtr() : std::string());
        return keys;
    }
    std::vector<T> GetValues() const { return std::vector<T>(list_.begin(), list_.end()); }

    void Clear() noexcept { list_.Clear(); }
    void Remove(int32_t pos) { list_.RemoveAt(pos); }
    void Remove(std::string_view key) { RemoveByKey(key); }
    void RemoveByKey(std::string_view key) {
        if (!list_.Remove(key)) keyedlist_detail::Fail(ErrNum::kInvalidCall);
    }

    iterator begin() { return list_.begin(); }
    iterator end() { return list_.end(); }
    const_iterator begin() const { return list_.begin(); }
    const_iterator end() const { return list_.end(); }

  private:
    int32_t Resolve(const Position& p) const {
        if (const int32_t* pos = std::get_if<int32_t>(&p)) {
            if (*pos < 1 || *pos > Count()) keyedlist_detail::Fail(ErrNum::kSubscript);
            return *pos;
        }
        const int32_t pos = list_.PositionOf(std::get<std::string>(p));
        if (pos == 0) keyedlist_detail::Fail(ErrNum::kInvalidCall);
        return pos;
    }

    List list_;
};

}  // namespace vellcfgrdr
