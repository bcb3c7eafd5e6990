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

// A lower-case word for a message level: "error", "warning", "info",
// "debug", or "message" for plain and unknown levels.
inline const char* MessageLevelName(int32_t level) noexcept {
    switch (level) {
        case eMsgError:
            return "error";
        case eMsgWarning:
            return "warning";
        case eMsgInfo:
            return "info";
        case eMsgDebug:
            return "debug";
        default:
            return "message";
    }
}

// Status numbers of CPlcCfgReader::ReadIOmap besides the run-time error
// numbers (1 to 1023) of a failure while reading.
enum eReadStatus : int32_t {
    eReadOk = 0,
    // The file is not readable in the form its extension promises.
    eReadBadFile = 321,
    eReadUnknownFormat = 14001,
    eReadPlcNotValid = 14002,
    eReadWarnings = 14003,
};

}  // namespace vellcfgrdr
