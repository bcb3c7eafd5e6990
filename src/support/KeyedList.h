#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/KeyHash.h"
#include "vellcfgrdr/CVellError.h"

namespace vellcfgrdr {

namespace keyedlist_detail {

[[noreturn]] inline void Fail(int32_t number) {
    throw CVellError(number, ModGSCore::StandardErrorText(number));
}

// Strings hash transparently, so that lookups with a string_view need no copy.
template <class Key>
struct DefaultHash {
    using type = std::hash<Key>;
};
template <>
struct DefaultHash<std::string> {
    using type = StringHash;
};

}  // namespace keyedlist_detail

// An insertion-ordered list of items with optional unique keys and 1-based
// positions: the storage of every keyed collection and model list.
//
// Cost (n = number of items):
//   Add (append)                     O(1) amortised
//   Find / Get / Contains by key     O(1) average
//   At / KeyAt / PositionOf          O(1), after an O(n) compaction the first
//                                    time they are used after removals
//   Remove by key or position        O(1); the slot becomes a hole that the
//                                    next positional access or begin() closes
//   Insert at a position             O(n)
//
// Items live in their own allocations, so references to an item stay valid
// until that item is removed or the list is cleared or destroyed, whatever
// else is added, inserted or removed. Iterators are invalidated by Add,
// Insert and by the compaction that At, KeyAt, PositionOf, RemoveAt and
// begin() do after a removal; removing items by key while iterating is safe
// (the iterator skips the holes), but the removed item must not be used again.
//
// Const members may compact, so a list is not safe for concurrent readers.
//
// Errors are CVellError with the collection numbers: position outside 1 to
// Count 9, missing key 5, key already present 457.
template <class T, class Key = std::string,
          class Hash = typename keyedlist_detail::DefaultHash<Key>::type,
          class KeyEqual = std::equal_to<>>
class KeyedList {
    using Index = std::unordered_map<Key, size_t, Hash, KeyEqual>;
    using Entry = typename Index::value_type;  // node addresses are stable

    struct Slot {
        Entry* entry = nullptr;   // nullptr for an item without key
        std::unique_ptr<T> item;  // nullptr for a hole left by a removal
    };

    template <bool Const>
    class Iter {
        using SlotPtr = std::conditional_t<Const, const Slot*, Slot*>;

      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const T*, T*>;
        using reference = std::conditional_t<Const, const T&, T&>;

        Iter() = default;
        Iter(SlotPtr p, SlotPtr end) : p_(p), end_(end) { Skip(); }
        // A non-const iterator converts to a const one.
        template <bool C = Const, class = std::enable_if_t<C>>
        Iter(const Iter<false>& other) : p_(other.p_), end_(other.end_) {}

        reference operator*() const { return *p_->item; }
        pointer operator->() const { return p_->item.get(); }
        Iter& operator++() {
            ++p_;
            Skip();
            return *this;
        }
        Iter operator++(int) {
            Iter old = *this;
            ++*this;
            return old;
        }
        bool operator==(const Iter& o) const noexcept { return p_ == o.p_; }
        // The key of the current item; nullptr when it has none.
        const Key* KeyPtr() const noexcept { return p_->entry ? &p_->entry->first : nullptr; }

      private:
        friend class Iter<!Const>;
        void Skip() noexcept {
            while (p_ != end_ && !p_->item)
                ++p_;
        }
        SlotPtr p_ = nullptr;
        SlotPtr end_ = nullptr;
    };

  public:
    using value_type = T;
    using key_type = Key;
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    KeyedList() = default;
    KeyedList(const KeyedList& other) { CopyFrom(other); }
    KeyedList& operator=(const KeyedList& other) {
        if (this != &other) {
            KeyedList copy(other);
            swap(copy);
        }
        return *this;
    }
    // Moving hands the nodes over, so the entry pointers stay right.
    KeyedList(KeyedList&&) noexcept = default;
    KeyedList& operator=(KeyedList&&) noexcept = default;

    void swap(KeyedList& other) noexcept {
        slots_.swap(other.slots_);
        index_.swap(other.index_);
        std::swap(count_, other.count_);
        std::swap(holes_, other.holes_);
    }

    int32_t Count() const noexcept { return count_; }
    bool Empty() const noexcept { return count_ == 0; }
    void Reserve(size_t n) {
        slots_.reserve(n);
        index_.reserve(n);
    }

    // Appends an item without key.
    T& Add(T item) {
        CompactIfSparse();
        return Place(slots_.size(), nullptr, std::move(item));
    }
    // Appends an item under key; raises 457 when the key is taken.
    T& Add(Key key, T item) {
        CompactIfSparse();
        Entry* e = Claim(std::move(key), slots_.size());
        return Place(slots_.size(), e, std::move(item));
    }
    // Inserts the item so that it gets position pos (1 to Count + 1); raises
    // 9 outside that range and 457 when the key is taken.
    T& Insert(int32_t pos, std::optional<Key> key, T item) {
        Compact();
        if (pos < 1 || pos > count_ + 1) keyedlist_detail::Fail(ErrNum::kSubscript);
        const auto at = static_cast<size_t>(pos - 1);
        Entry* e = key ? Claim(std::move(*key), at) : nullptr;
        T& ref = Place(at, e, std::move(item));
        for (size_t i = at + 1; i < slots_.size(); ++i)
            if (slots_[i].entry) slots_[i].entry->second = i;
        return ref;
    }

    // The item at a 1-based position; raises 9 outside 1 to Count.
    T& At(int32_t pos) { return *SlotAt(pos).item; }
    const T& At(int32_t pos) const { return *SlotAt(pos).item; }
    // The key of the item at pos; nullptr when it has none. Raises 9.
    const Key* KeyAt(int32_t pos) const {
        const Slot& s = SlotAt(pos);
        return s.entry ? &s.entry->first : nullptr;
    }

    // The item with that key; nullptr when there is none.
    template <class K = Key>
    T* Find(const K& key) {
        const auto it = index_.find(key);
        return it == index_.end() ? nullptr : slots_[it->second].item.get();
    }
    template <class K = Key>
    const T* Find(const K& key) const {
        const auto it = index_.find(key);
        return it == index_.end() ? nullptr : slots_[it->second].item.get();
    }
    // The item with that key; raises 5 when there is none.
    template <class K = Key>
    T& Get(const K& key) {
        T* p = Find(key);
        if (!p) keyedlist_detail::Fail(ErrNum::kInvalidCall);
        return *p;
    }
    template <class K = Key>
    const T& Get(const K& key) const {
        const T* p = Find(key);
        if (!p) keyedlist_detail::Fail(ErrNum::kInvalidCall);
        return *p;
    }
    template <class K = Key>
    bool Contains(const K& key) const {
        return index_.find(key) != index_.end();
    }
    // The key as stored (the spelling it was added with); nullptr when absent.
    template <class K = Key>
    const Key* StoredKey(const K& key) const {
        const auto it = index_.find(key);
        return it == index_.end() ? nullptr : &it->first;
    }
    // The 1-based position of the item with that key; 0 when absent.
    template <class K = Key>
    int32_t PositionOf(const K& key) const {
        const auto it = index_.find(key);
        if (it == index_.end()) return 0;
        Compact();
        return static_cast<int32_t>(it->second) + 1;
    }

    // Raises 9 outside 1 to Count.
    void RemoveAt(int32_t pos) { Drop(SlotAt(pos)); }
    // False when no item has that key.
    template <class K = Key>
    bool Remove(const K& key) {
        const auto it = index_.find(key);
        if (it == index_.end()) return false;
        Drop(slots_[it->second]);
        return true;
    }

    void Clear() noexcept {
        slots_.clear();
        index_.clear();
        count_ = 0;
        holes_ = 0;
    }

    iterator begin() {
        Compact();
        return iterator(slots_.data(), slots_.data() + slots_.size());
    }
    iterator end() {
        return iterator(slots_.data() + slots_.size(), slots_.data() + slots_.size());
    }
    const_iterator begin() const {
        Compact();
        return const_iterator(slots_.data(), slots_.data() + slots_.size());
    }
    const_iterator end() const {
        return const_iterator(slots_.data() + slots_.size(), slots_.data() + slots_.size());
    }

  private:
    // Reserves key for the slot that is about to be placed at position at.
    Entry* Claim(Key key, size_t at) {
        const auto [it, fresh] = index_.try_emplace(std::move(key), at);
        if (!fresh) keyedlist_detail::Fail(ErrNum::kDuplicateKey);
        return &*it;
    }

    T& Place(size_t at, Entry* e, T item) {
        try {
            Slot s;
            s.entry = e;
            s.item = std::make_unique<T>(std::move(item));
            T& ref = *s.item;
            slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(at), std::move(s));
            ++count_;
            return ref;
        } catch (...) {
            if (e) index_.erase(index_.find(e->first));
            throw;
        }
    }

    const Slot& SlotAt(int32_t pos) const {
        if (pos < 1 || pos > count_) keyedlist_detail::Fail(ErrNum::kSubscript);
        Compact();
        return slots_[static_cast<size_t>(pos - 1)];
    }
    Slot& SlotAt(int32_t pos) {
        return const_cast<Slot&>(static_cast<const KeyedList*>(this)->SlotAt(pos));
    }

    void Drop(Slot& s) {
        if (s.entry) index_.erase(index_.find(s.entry->first));
        s.entry = nullptr;
        s.item.reset();
        --count_;
        ++holes_;
    }

    // Remove-then-add cycles that never read by position would otherwise
    // grow the slots without bound.
    void CompactIfSparse() {
        if (holes_ > 64 && holes_ > static_cast<size_t>(count_)) Compact();
    }

    void Compact() const {
        if (holes_ == 0) return;
        size_t w = 0;
        for (size_t r = 0; r < slots_.size(); ++r) {
            if (!slots_[r].item) continue;
            if (w != r) {
                slots_[w] = std::move(slots_[r]);
                if (slots_[w].entry) slots_[w].entry->second = w;
            }
            ++w;
        }
        slots_.resize(w);
        holes_ = 0;
    }

    void CopyFrom(const KeyedList& other) {
        Reserve(static_cast<size_t>(other.count_));
        for (auto it = other.begin(); it != other.end(); ++it) {
            if (const Key* k = it.KeyPtr())
                Add(*k, *it);
            else
                Add(*it);
        }
    }

    mutable std::vector<Slot> slots_;
    Index index_;
    int32_t count_ = 0;
    mutable size_t holes_ = 0;
};

}  // namespace vellcfgrdr
