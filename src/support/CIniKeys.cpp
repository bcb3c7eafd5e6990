#include "support/CIniKeys.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "support/IniEntryKey.h"

namespace vellcfgrdr {

std::shared_ptr<CIniKey> CIniKeys::Item(std::string_view name) const {
    if (name.empty()) return nullptr;
    const std::shared_ptr<CIniKey>* key = keys_.Find(CUtf8::ToUpper(name));
    return key ? *key : nullptr;
}

std::shared_ptr<CIniKey> CIniKeys::Add(std::string name, std::string value, std::string comment,
                                       bool verbatim) {
    std::string id = IniEntryKey(name, unnamed_);
    auto key =
        std::make_shared<CIniKey>(std::move(name), std::move(value), std::move(comment), verbatim);
    if (keys_.Contains(id)) throw CVellError(ErrNum::kDuplicateKey, "Duplicate Key", "IniDOM");
    keys_.Add(std::move(id), key);
    if (key->Name().empty()) ++unnamed_;
    return key;
}

void CIniKeys::Remove(std::string_view name) {
    if (name.empty() || !keys_.Remove(CUtf8::ToUpper(name)))
        keyedlist_detail::Fail(ErrNum::kInvalidCall);
}

}  // namespace vellcfgrdr
