#include "core/modResStr.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string_view>

#include "core/CUtf8.h"
#include "core/EmbeddedFiles.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

namespace {

struct ResEntry {
    int32_t id;
    const char* text;
};

constexpr ResEntry kStrings[] = {
#include "core/resources/StringTable.inc"
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const ResEntry& a, const ResEntry& b) { return a.id < b.id; }),
              "the string table must be sorted by id");

std::atomic<int32_t> gLanguage{eguiLangEnglish};

constexpr modResStr::ResFile kResFiles[] = {
    {1001, "FamilyInfo.txt"},
    {1002, "PartDescriptions.txt"},
    {1003, "PartInfo.sup"},
    {1004, "PartMapping.txt"},
};

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

std::span<const modResStr::ResFile> modResStr::ResFiles() noexcept {
    return kResFiles;
}

std::string modResStr::LoadResFile(int32_t id) {
    try {
        const auto file = std::find_if(std::begin(kResFiles), std::end(kResFiles),
                                       [id](const ResFile& f) { return f.id == id; });
        if (file != std::end(kResFiles)) {
            for (const EmbeddedFile& embedded : EmbeddedFiles()) {
                if (std::string_view(embedded.name) != file->fileName) continue;
                std::string_view text(reinterpret_cast<const char*>(embedded.data), embedded.size);
                text = text.substr(0, text.find('\0'));
                // A byte-order mark has no Windows-1252 form for the written file.
                if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
                return CUtf8::FromUtf8(text);
            }
        }
        ModGSCore::RaiseError("id " + std::to_string(id), ErrNum::kResourceNotFound);
    } catch (...) {
        ModGSCore::ReRaise("Res", "LoadResFile");
    }
}

}  // namespace vellcfgrdr
