#pragma once

#include <memory>

#include "parts/IPartNaming.h"

namespace vellcfgrdr {

class CPartNaming final : public IPartNaming {
  public:
    // The one instance of the process.
    static std::shared_ptr<CPartNaming> Instance();

    std::string GenericPart() const override;
    std::string Placeholder() const override;
    std::string CompressedName(std::string_view name) const override;
    std::string ExpandedName(std::string_view name) const override;
    std::string ExpandedNameEx(std::string_view names) const override;
    bool IsPlaceholder(std::string_view name) const override;
    bool PartIsNothing(std::string_view name) const override;
    std::string PhraseById(int32_t id) const override;
    std::string RemovePartFactor(std::string_view name, int32_t& factor) const override;

    // Reserved to the parts knowledge.
    std::string RemoveBlanks(std::string_view name) const;
    bool IsBrisk37Cpu(std::string_view name) const;
    bool IsBrisk57Cpu(std::string_view name) const;
    // First name of the list matching the pattern; "" when none.
    std::string FindLike(std::span<const std::string> names, std::string_view pattern) const;
};

}  // namespace vellcfgrdr
