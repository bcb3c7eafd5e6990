#pragma once

#include <string>

namespace vellcfgrdr {

// One line of a section: a key line (name, value), or with an empty name a
// comment line. Comment is the text after ";"; with Verbatim set it is
// written back as the whole line.
class CIniKey {
  public:
    CIniKey() = default;
    // Raises 380 for a name that cannot be written back (see SetName).
    CIniKey(std::string name, std::string value, std::string comment = {}, bool verbatim = false);

    const std::string& Name() const noexcept { return name_; }
    // Raises 380 for a name holding a double quote or "=".
    void SetName(std::string name);
    const std::string& Value() const noexcept { return value_; }
    void SetValue(std::string value) { value_ = std::move(value); }
    const std::string& Comment() const noexcept { return comment_; }
    void SetComment(std::string comment) { comment_ = std::move(comment); }
    bool Verbatim() const noexcept { return verbatim_; }
    void SetVerbatim(bool on) noexcept { verbatim_ = on; }

  private:
    std::string name_;
    std::string value_;
    std::string comment_;
    bool verbatim_ = false;
};

}  // namespace vellcfgrdr
