#include "parts/CFamilyPartList.h"

#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

void CFamilyPartList::Init(int32_t family, std::shared_ptr<const IPartInfo> partInfo) {
    family_ = family;
    partInfo_ = std::move(partInfo);
    names_.clear();
    built_ = false;
}

const std::vector<std::string>& CFamilyPartList::Names() const {
    if (built_) return names_;
    if (partInfo_) {
        names_ = partInfo_->PartNamesSubset(family_, ptUnknown);
        for (const CPart& part : partInfo_->Parts())
            if (part.PlcFamily() == plcNonSpecific) names_.push_back(part.Name());
    }
    built_ = true;
    return names_;
}

int32_t CFamilyPartList::Count() const {
    return static_cast<int32_t>(Names().size());
}

const std::string& CFamilyPartList::Part(int32_t index) const {
    const std::vector<std::string>& names = Names();
    if (index < 1 || static_cast<size_t>(index) > names.size())
        ModGSCore::RaiseError("Part(" + std::to_string(index) + ")", ErrNum::kSubscript);
    return names[index - 1];
}

}  // namespace vellcfgrdr
