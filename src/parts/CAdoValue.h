#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellcfgrdr {

// One value of a record set: NULL, or the characters as the database holds
// them (UTF-16 code units), so that text can be read as text and binary
// text (one character a byte) as bytes, without either losing anything.
class CAdoValue {
  public:
    CAdoValue() = default;
    explicit CAdoValue(std::u16string chars) : chars_(std::move(chars)) {}

    bool IsNull() const noexcept { return !chars_.has_value(); }
    // The characters; empty for NULL.
    const std::u16string& Chars() const noexcept;
    // UTF-8; "" for NULL.
    std::string Text() const;
    // One byte a character: codes up to 255 as they are, characters of the
    // Windows-1252 range by their Windows-1252 byte; any other character
    // raises 13 (type mismatch). Empty for NULL.
    std::vector<uint8_t> Bytes() const;

  private:
    std::optional<std::u16string> chars_;
};

}  // namespace vellcfgrdr
