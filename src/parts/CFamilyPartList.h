#pragma once

#include <memory>
#include <string>
#include <vector>

#include "parts/IFamilyPartList.h"
#include "parts/IPartInfo.h"

namespace vellcfgrdr {

// The part names of one family (compatible families included), then those of
// every family-neutral part, in part-file order. Built on first use.
class CFamilyPartList final : public IFamilyPartList {
  public:
    void Init(int32_t family, std::shared_ptr<const IPartInfo> partInfo);

    int32_t Count() const override;
    const std::string& Part(int32_t index) const override;
    int32_t PlcFamily() const override { return family_; }

  private:
    const std::vector<std::string>& Names() const;

    int32_t family_ = 0;
    std::shared_ptr<const IPartInfo> partInfo_;
    mutable std::vector<std::string> names_;
    mutable bool built_ = false;
};

}  // namespace vellcfgrdr
