#pragma once

#include <string_view>

namespace vellcfgrdr {

// Pattern matching of part names: "*" any run of characters, "?" one
// character, "#" one digit, "[abc]", "[a-z]" and "[!abc]" one character of
// (or not of) a list. Case-sensitive; characters are UTF-8 characters.
class CWildcard {
  public:
    static bool Matches(std::string_view text, std::string_view pattern) noexcept;
};

}  // namespace vellcfgrdr
