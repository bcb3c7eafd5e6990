#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/CollectionEx.h"
#include "support/CompareMode.h"

namespace vellcfgrdr {

// An ordered collection of strings, optionally keyed (keys without regard to
// letter case). With Unique set a string added without key is keyed by
// itself, so a second equal string is refused.
class CStringCollection {
  public:
    using const_iterator = CollectionEx<std::string>::const_iterator;

    // The order Sorted uses.
    CompareMode GetCompareMode() const noexcept { return mode_; }
    void SetCompareMode(CompareMode mode) noexcept { mode_ = mode; }
    bool Unique() const noexcept { return unique_; }
    void SetUnique(bool on) noexcept { unique_ = on; }

    int32_t Count() const noexcept { return items_.Count(); }

    // Adds text under key (under text itself when Unique is set and key is
    // empty); text without key is added when not empty; both empty add
    // nothing. False, and nothing added, when the add fails (key taken).
    bool Add(std::string text, std::string key = {});
    // Each element trimmed of spaces and added without key; empty ones are
    // skipped when skipEmpty is set.
    void AddArray(std::span<const std::string> items, bool skipEmpty);
    // Each element added without key.
    template <class Range>
    void AddCollection(const Range& items) {
        for (const auto& s : items)
            items_.Add(std::string(s));
    }
    // A new collection with the strings, without keys.
    CollectionEx<std::string> GetCollection() const;

    void Clear() noexcept { items_.Clear(); }
    bool ContainsKey(std::string_view key) const { return items_.Exists(key); }
    const std::string& Item(int32_t pos) const { return items_.Item(pos); }
    const std::string& Item(std::string_view key) const { return items_.Item(key); }
    void Remove(int32_t pos) { items_.Remove(pos); }
    void Remove(std::string_view key) { items_.Remove(key); }

    // All strings, 0-based; with sort set in ascending order without regard
    // to case (whatever the compare mode).
    std::vector<std::string> CopyToArray(bool sort) const;
    // A new collection of the strings sorted in the compare mode, without keys.
    CollectionEx<std::string> Sorted() const;

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

  private:
    CollectionEx<std::string> items_;
    CompareMode mode_ = CompareMode::Binary;
    bool unique_ = false;
};

}  // namespace vellcfgrdr
