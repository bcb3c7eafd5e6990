#include "support/CIniSections.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "support/IniEntryKey.h"

namespace vellcfgrdr {

std::shared_ptr<CIniSection> CIniSections::ItemByKey(std::string_view name) const {
    if (name.empty()) return nullptr;
    const std::shared_ptr<CIniSection>* section = sections_.Find(CUtf8::ToUpper(name));
    return section ? *section : nullptr;
}

std::shared_ptr<CIniSection> CIniSections::Add(std::string name, std::string comment,
                                               bool verbatim) {
    std::string id = IniEntryKey(name, unnamed_);
    if (sections_.Contains(id))
        throw CVellError(ErrNum::kDuplicateKey, "Duplicate Section", "IniDOM");
    const bool unnamed = name.empty();
    auto section = std::make_shared<CIniSection>(std::move(name), std::move(comment), verbatim);
    sections_.Add(std::move(id), section);
    if (unnamed) ++unnamed_;
    return section;
}

void CIniSections::Remove(std::string_view name) {
    if (name.empty() || !sections_.Remove(CUtf8::ToUpper(name)))
        keyedlist_detail::Fail(ErrNum::kInvalidCall);
}

}  // namespace vellcfgrdr
