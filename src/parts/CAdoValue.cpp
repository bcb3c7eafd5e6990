#include "parts/CAdoValue.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

const std::u16string& CAdoValue::Chars() const noexcept {
    static const std::u16string kEmpty;
    return chars_ ? *chars_ : kEmpty;
}

std::string CAdoValue::Text() const {
    std::string out;
    if (!chars_) return out;
    const std::u16string& s = *chars_;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = CUtf8::kReplacement;
        }
        CUtf8::Append(out, cp);
    }
    return out;
}

std::vector<uint8_t> CAdoValue::Bytes() const {
    std::vector<uint8_t> out;
    if (!chars_) return out;
    out.reserve(chars_->size());
    for (const char16_t c : *chars_) {
        if (c <= 0xFF) {
            out.push_back(static_cast<uint8_t>(c));
            continue;
        }
        // A writer that went through Windows-1252 stores byte 0x80 as U+20AC.
        const int code = CUtf8::Cp1252Code(c);
        if (code < 0x80 || code > 0x9F)
            ModGSCore::RaiseError("a character of the value stands for no byte",
                                  ErrNum::kTypeMismatch);
        out.push_back(static_cast<uint8_t>(code));
    }
    return out;
}

}  // namespace vellcfgrdr
