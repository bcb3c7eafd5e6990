#include "support/CStringTokenizer.h"

#include <limits>

#include "core/CUtf8.h"

namespace vellcfgrdr {

namespace {

// Masks each doubled quote in the scanning copy. 0xFF is neither a quote nor
// part of any UTF-8 character, so no delimiter (even one set after the
// source) can match it, and the copy keeps the byte length of the source.
constexpr char kMaskedQuote = '\xFF';

size_t AdvanceChars(std::string_view s, size_t pos, size_t n) noexcept {
    for (; n > 0 && pos < s.size(); --n)
        CUtf8::Decode(s, pos);
    return pos;
}

}  // namespace

CStringTokenizer::CStringTokenizer() {
    SetDelimiters(" ,");
}

void CStringTokenizer::SetSource(std::string_view source) {
    source_ = source;
    cur_ = 0;
    quotedSource_ = quoted_;
    useWork_ = false;
    if (!quoted_) return;
    size_t p = source_.find("\"\"");
    if (p == std::string::npos) return;
    work_.assign(source_);
    for (; p != std::string::npos; p = work_.find("\"\"", p + 2))
        work_[p] = work_[p + 1] = kMaskedQuote;
    useWork_ = true;
}

void CStringTokenizer::SetDelimiters(std::string_view delimiters) {
    delims_.assign(delimiters);
    delimByte_.fill(false);
    for (unsigned char c : delims_)
        if (c < 0x80 || (c & 0xC0) != 0x80) delimByte_[c] = true;
}

bool CStringTokenizer::DelimiterAt(std::string_view text, size_t pos, size_t& len) const noexcept {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
        len = 1;
        return delimByte_[b];
    }
    size_t next = pos;
    CUtf8::Decode(text, next);
    len = next - pos;
    if (!delimByte_[b]) return false;
    // Whole characters are compared, so a malformed lead byte in the text
    // cannot match the start of a delimiter.
    const std::string_view c = text.substr(pos, len);
    for (size_t q = 0; q < delims_.size();) {
        const size_t start = q;
        CUtf8::Decode(delims_, q);
        if (std::string_view(delims_).substr(start, q - start) == c) return true;
    }
    return false;
}

std::string CStringTokenizer::NextToken(std::string_view delimiters) {
    return std::string(NextTokenView(delimiters));
}

std::string_view CStringTokenizer::NextTokenView(std::string_view delimiters) {
    if (!delimiters.empty() && delimiters != delims_) SetDelimiters(delimiters);
    if (source_.empty()) return {};
    const std::string_view scan = Scan();
    size_t start = cur_, len = 0;
    while (start < scan.size() && DelimiterAt(scan, start, len))
        start += len;
    if (start >= scan.size()) return {};

    size_t end;
    if (quotedSource_ && scan[start] == '"') {
        // Masked doubled quotes neither close nor open a quoted token.
        const size_t close = scan.find('"', start + 1);
        end = close == std::string_view::npos ? scan.size() : close + 1;
    } else {
        end = start;
        while (end < scan.size() && !DelimiterAt(scan, end, len))
            end += len;
    }
    cur_ = end;
    std::string_view token = source_.substr(start, end - start);
    if (trimToken_) token = CUtf8::Trim(token);
    return token;
}

std::string CStringTokenizer::FirstToken(std::string_view source, std::string_view delimiters) {
    SetSource(source);
    return NextToken(delimiters);
}

std::string CStringTokenizer::Remainder() const {
    return cur_ < source_.size() ? std::string(source_.substr(cur_)) : std::string();
}

bool CStringTokenizer::IsDelimiter(std::string_view c) const noexcept {
    if (c.empty()) return false;
    if (c.size() == 1 && static_cast<unsigned char>(c[0]) < 0x80)
        return delimByte_[static_cast<unsigned char>(c[0])];
    return delims_.find(c) != std::string::npos;
}

std::string CStringTokenizer::PeekChar() const {
    if (cur_ >= source_.size()) return {};
    return std::string(source_.substr(cur_, AdvanceChars(source_, cur_, 1) - cur_));
}

std::string CStringTokenizer::NextChar() {
    std::string c = PeekChar();
    cur_ += c.size();
    return c;
}

std::string CStringTokenizer::NextDelimiters() {
    const size_t start = cur_;
    size_t len = 0;
    while (cur_ < source_.size() && DelimiterAt(source_, cur_, len))
        cur_ += len;
    return std::string(source_.substr(start, cur_ - start));
}

size_t CStringTokenizer::Find(std::string_view s, size_t& end) const noexcept {
    const std::string_view src = source_;
    const size_t pos = caseSensitive_ ? src.find(s, cur_) : CUtf8::FindNoCase(src, s, cur_);
    if (pos != std::string_view::npos)
        end = caseSensitive_ ? pos + s.size() : AdvanceChars(src, pos, CUtf8::Length(s));
    return pos;
}

int32_t CStringTokenizer::FindNext(std::string_view s) const {
    size_t end = 0;
    const size_t pos = Find(s, end);
    if (pos == std::string_view::npos) return 0;
    const size_t chars = CUtf8::CharIndex(source_, pos) + 1;
    return chars > static_cast<size_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(chars);
}

bool CStringTokenizer::SkipOver(std::string_view s) {
    size_t end = 0;
    if (Find(s, end) == std::string_view::npos) return false;
    cur_ = end;
    return true;
}

std::string CStringTokenizer::SubStringUpTo(std::string_view s) {
    // An empty target becomes NUL, which normally finds nothing.
    if (s.empty()) s = std::string_view("\0", 1);
    size_t end = 0;
    const size_t pos = Find(s, end);
    if (pos == std::string_view::npos) return {};
    std::string sub(source_.substr(cur_, pos - cur_));
    cur_ = end;
    return sub;
}

}  // namespace vellcfgrdr
