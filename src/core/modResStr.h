#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "vellcfgrdr/CPublicEnums.h"

namespace vellcfgrdr {

// The bilingual message table and the current language of the process.
class modResStr {
  public:
    // Message with id + language; -1 selects the current language. "?" when
    // the table has no such message.
    static std::string ResString(int32_t id, int32_t language = eguiLangCurrent);
    static int32_t GetGuiLanguage() noexcept;
    // No range check: an unknown language makes every message "?".
    static void SetGuiLanguage(int32_t language) noexcept;

    // A support file carried as data: its resource id and file name.
    struct ResFile {
        int32_t id;
        const char* fileName;
    };
    // The support files, in id order.
    static std::span<const ResFile> ResFiles() noexcept;
    // The text of the support file with the resource id (UTF-8, CR LF line
    // ends, cut before the first NUL). An unknown id raises 326.
    static std::string LoadResFile(int32_t id);
};

}  // namespace vellcfgrdr
