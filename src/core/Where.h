#pragma once

#include <string>
#include <string_view>

namespace vellcfgrdr {

// The place an error passes through: an object (named by its class, shown
// without the class prefix "C") or a plain text that is used as it stands.
class Where {
  public:
    Where() = default;
    Where(const char* text) : text_(text ? text : "") {}
    Where(std::string_view text) : text_(text) {}
    Where(const std::string& text) : text_(text) {}

    static Where Object(std::string_view className) {
        Where w;
        w.text_ = className.starts_with('C') ? className.substr(1) : className;
        return w;
    }

    const std::string& Text() const noexcept { return text_; }

  private:
    std::string text_;
};

}  // namespace vellcfgrdr
