#pragma once

#include <string>

#include "support/CIniKeys.h"

namespace vellcfgrdr {

// A "[Name]" header with its lines, or with an empty name a comment line
// that stands before the first section.
class CIniSection {
  public:
    CIniSection() = default;
    CIniSection(std::string name, std::string comment, bool verbatim)
        : name_(std::move(name)), comment_(std::move(comment)), verbatim_(verbatim) {}

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    CIniKeys& Keys() noexcept { return keys_; }
    const CIniKeys& Keys() const noexcept { return keys_; }
    // The header's comment (text after ";"); with Verbatim set it is written
    // after the header as it stands.
    const std::string& Comment() const noexcept { return comment_; }
    void SetComment(std::string comment) { comment_ = std::move(comment); }
    bool Verbatim() const noexcept { return verbatim_; }
    void SetVerbatim(bool on) noexcept { verbatim_ = on; }

  private:
    std::string name_;
    CIniKeys keys_;
    std::string comment_;
    bool verbatim_ = false;
};

}  // namespace vellcfgrdr
