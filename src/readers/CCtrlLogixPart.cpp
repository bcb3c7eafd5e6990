#include "readers/CCtrlLogixPart.h"

#include <algorithm>

#include "core/CUtf8.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

void CCtrlLogixPart::SetName(std::string_view v) {
    name_ = CStdLib::UnQuoteString(v);
}
void CCtrlLogixPart::SetParent(std::string_view v) {
    parent_ = CStdLib::UnQuoteString(v);
}
// The series letter ("1756-IB32/B") is no part of the part number.
void CCtrlLogixPart::SetCatalogNumber(std::string_view v) {
    catalogNumber_ = CStdLib::UnQuoteString(v);
    catalogNumber_.erase(std::min(catalogNumber_.find('/'), catalogNumber_.size()));
}
void CCtrlLogixPart::SetUserDefinedCatalogNumber(std::string_view v) {
    const std::string text = CStdLib::UnQuoteString(v);
    userCatalogNumber_ = CUtf8::Trim(text);
    userCatalogNumber_.erase(std::min(userCatalogNumber_.find('/'), userCatalogNumber_.size()));
}

std::string CCtrlLogixPart::CatalogNumber() const {
    // A generic profile ("ETHERNET-MODULE", "1756-MODULE") says only how the
    // module talks; the user's catalogue number says what it is.
    if (!userCatalogNumber_.empty()) return userCatalogNumber_;
    if (CUtf8::EqualsNoCase(catalogNumber_, "RIO-MODULE")) {
        const size_t dollar = description_.find('$');
        if (dollar != std::string::npos && description_.starts_with('1'))
            return description_.substr(0, dollar);
    }
    return catalogNumber_;
}

}  // namespace vellcfgrdr
