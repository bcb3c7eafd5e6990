#pragma once

#include <cstdint>
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
};

}  // namespace vellcfgrdr
