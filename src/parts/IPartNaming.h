#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// The canonical forms of part names: compressed (the lookup key of every part
// table) and expanded (for display), the special names and the advice phrases.
class IPartNaming {
  public:
    virtual ~IPartNaming() = default;

    virtual std::string GenericPart() const = 0;
    virtual std::string Placeholder() const = 0;
    virtual std::string CompressedName(std::string_view name) const = 0;
    virtual std::string ExpandedName(std::string_view name) const = 0;
    virtual std::string ExpandedNameEx(std::string_view names) const = 0;
    virtual bool IsPlaceholder(std::string_view name) const = 0;
    virtual bool PartIsNothing(std::string_view name) const = 0;
    virtual std::string PhraseById(int32_t id) const = 0;
    virtual std::string RemovePartFactor(std::string_view name, int32_t& factor) const = 0;
};

}  // namespace vellcfgrdr
