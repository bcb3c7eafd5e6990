#include "readers/CCtrlLogixPart.h"

#include "core/CUtf8.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

void CCtrlLogixPart::SetName(std::string_view v) {
    name_ = CStdLib::UnQuoteString(v);
}
void CCtrlLogixPart::SetParent(std::string_view v) {
    parent_ = CStdLib::UnQuoteString(v);
}
void CCtrlLogixPart::SetCatalogNumber(std::string_view v) {
    catalogNumber_ = CStdLib::UnQuoteString(v);
}

std::string CCtrlLogixPart::CatalogNumber() const {
    if (CUtf8::EqualsNoCase(catalogNumber_, "RIO-MODULE")) {
        const size_t dollar = description_.find('$');
        if (dollar != std::string::npos && description_.starts_with('1'))
            return description_.substr(0, dollar);
    }
    return catalogNumber_;
}

}  // namespace vellcfgrdr
