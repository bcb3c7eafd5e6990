#include "support/CIniKey.h"

#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

CIniKey::CIniKey(std::string name, std::string value, std::string comment, bool verbatim)
    : value_(std::move(value)), comment_(std::move(comment)), verbatim_(verbatim) {
    SetName(std::move(name));
}

void CIniKey::SetName(std::string name) {
    // Such a name would be read back as another name and value.
    if (name.find_first_of("\"=") != std::string::npos)
        ModGSCore::RaiseError(name, ErrNum::kInvalidPropertyValue);
    name_ = std::move(name);
}

}  // namespace vellcfgrdr
