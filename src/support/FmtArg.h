#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vellcfgrdr {

// One argument of CStdLib::Sprintf: a text, an integer, a real or a flag,
// each with its ordinary text form.
class FmtArg {
  public:
    FmtArg(const char* s) : v_(std::string(s ? s : "")) {}
    FmtArg(std::string_view s) : v_(std::string(s)) {}
    FmtArg(const std::string& s) : v_(s) {}
    FmtArg(std::string&& s) : v_(std::move(s)) {}
    FmtArg(bool b) : v_(b) {}
    FmtArg(double d) : v_(d) {}
    FmtArg(float f) : v_(static_cast<double>(f)) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    FmtArg(T i) : v_(static_cast<int64_t>(i)) {}

    // The ordinary text form: a text as it is, a number in decimal (a real
    // keeps its fraction), a flag as "True" or "False".
    std::string Text() const;
    // The value as a whole number (texts read leniently, reals rounded).
    int64_t Integer() const;

  private:
    std::variant<std::string, int64_t, double, bool> v_;
};

}  // namespace vellcfgrdr
