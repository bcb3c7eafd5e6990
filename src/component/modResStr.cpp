#include "component/modResStr.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace vellcfgrdr {

namespace {

struct ResEntry {
    int32_t id;
    const char* text;
};

constexpr ResEntry kStrings[] = {
#include "component/resources/StringTable.inc"
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const ResEntry& a, const ResEntry& b) { return a.id < b.id; }),
              "the string table must be sorted by id");

std::atomic<int32_t> gLanguage{eguiLangEnglish};

}  // namespace

std::string modResStr::ResString(int32_t id, int32_t language) {
    if (language == eguiLangCurrent) language = gLanguage.load(std::memory_order_relaxed);
    const int64_t key = static_cast<int64_t>(id) + language;
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), key,
                                     [](const ResEntry& e, int64_t k) { return e.id < k; });
    if (it == std::end(kStrings) || it->id != key) return "?";
    return it->text;
}

int32_t modResStr::GetGuiLanguage() noexcept {
    return gLanguage.load(std::memory_order_relaxed);
}

void modResStr::SetGuiLanguage(int32_t language) noexcept {
    gLanguage.store(language, std::memory_order_relaxed);
}

}  // namespace vellcfgrdr
