#pragma once

#include <cstdint>

namespace vellcfgrdr {

// Language of the bilingual message texts.
enum eGuiLanguage : int32_t {
    eguiLangCurrent = -1,
    eguiLangEnglish = 0,
    eguiLangFrench = 1,
};

// Level of a message sent through EvtInfoMessage.
enum eMessageLevel : int32_t {
    eMsgPlain = 0,
    eMsgError = 1,
    eMsgWarning = 2,
    eMsgInfo = 3,
    eMsgDebug = 4,
};

}  // namespace vellcfgrdr
