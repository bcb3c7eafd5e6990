#include "support/CStringCollection.h"

#include "core/CUtf8.h"
#include "support/CSorter.h"

namespace vellcfgrdr {

bool CStringCollection::Add(std::string text, std::string key) {
    if (unique_ && key.empty()) key = text;
    try {
        if (!key.empty())
            items_.Add(std::move(text), std::move(key));
        else if (!text.empty())
            items_.Add(std::move(text));
    } catch (const CVellError&) {
        return false;
    }
    return true;
}

void CStringCollection::AddArray(std::span<const std::string> items, bool skipEmpty) {
    for (const std::string& s : items) {
        const std::string_view trimmed = CUtf8::Trim(s);
        if (skipEmpty && trimmed.empty()) continue;
        items_.Add(std::string(trimmed));
    }
}

CollectionEx<std::string> CStringCollection::GetCollection() const {
    CollectionEx<std::string> out;
    for (const std::string& s : items_)
        out.Add(s);
    return out;
}

std::vector<std::string> CStringCollection::CopyToArray(bool sort) const {
    std::vector<std::string> out = items_.GetValues();
    if (sort) CSorter::SortStringArray(out, CompareMode::Text);
    return out;
}

CollectionEx<std::string> CStringCollection::Sorted() const {
    return CSorter::SortedCollection(items_, mode_);
}

}  // namespace vellcfgrdr
