#include "support/CTextReader.h"

#include <algorithm>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/CUtf8.h"
#include "core/ModGSCore.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

// Byte offset n characters on from pos.
size_t AdvanceChars(std::string_view s, size_t pos, size_t n) noexcept {
    for (; n > 0 && pos < s.size(); --n)
        CUtf8::Decode(s, pos);
    return pos;
}

}  // namespace

void CTextReader::SetText(std::string text) {
    text_ = std::move(text);
    next_ = 0;
    more_ = !text_.empty();
    // Lines end at LF, with one CR before it dropped, so LF, CR LF and a mix
    // of both (a file edited on two systems) all split alike. A text with no
    // LF at all but CRs comes from old Macintosh systems.
    separator_ = text_.find('\n') == std::string::npos && text_.find('\r') != std::string::npos
                     ? '\r'
                     : '\n';
    lineNo_ = 0;
    // The old line was part of the old text.
    currBegin_ = currLen_ = 0;
}

void CTextReader::ReadFile(const std::string& path) {
    try {
        SetText(CStdio::LoadTextFile(path));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CTextReader"), "ReadFile");
    }
}

std::string_view CTextReader::GetNextLine() {
    const std::string_view text(text_);
    for (;;) {
        if (!more_) {
            currBegin_ = currLen_ = 0;
            return {};
        }
        const size_t end = text.find(separator_, next_);
        currBegin_ = next_;
        if (end == std::string_view::npos) {
            currLen_ = text.size() - next_;
            next_ = text.size();
            more_ = false;
        } else {
            currLen_ = end - next_;
            if (separator_ == '\n' && currLen_ > 0 && text[end - 1] == '\r') --currLen_;
            next_ = end + 1;
        }
        ++lineNo_;
        if (trim_) {
            const std::string_view raw = CurrLine();
            const std::string_view trimmed = CUtf8::TrimBlanks(raw);
            if (!trimmed.empty()) currBegin_ += static_cast<size_t>(trimmed.data() - raw.data());
            currLen_ = trimmed.size();
        }
        const std::string_view line = CurrLine();

        if (!comment_.empty() && LineStartsWith(comment_)) continue;
        if (skipBlank_ && line.empty()) continue;
        return line;
    }
}

bool CTextReader::LineContains(std::string_view s) {
    const std::string_view line = CurrLine();
    const size_t pos = caseSensitive_ ? line.find(s) : CUtf8::FindNoCase(line, s);
    if (pos == std::string_view::npos) {
        remStart_ = 0;
        return false;
    }
    const size_t end = caseSensitive_ ? pos + s.size() : AdvanceChars(line, pos, CUtf8::Length(s));
    remStart_ = end < line.size() ? AdvanceChars(line, end, 1) : end + 1;
    return true;
}

bool CTextReader::LineStartsWith(std::string_view s) {
    const std::string_view line = CurrLine();
    const std::string_view trimmed = CUtf8::Trim(line);
    if (!(caseSensitive_ ? trimmed.starts_with(s) : CUtf8::StartsWithNoCase(trimmed, s)))
        return false;
    // Counted in characters from the start of the untrimmed line.
    remStart_ = CUtf8::ByteOffset(line, CUtf8::Length(s));
    return true;
}

std::string_view CTextReader::Remainder() const noexcept {
    const std::string_view line = CurrLine();
    size_t p = remStart_;
    // A position left from an earlier line may fall inside a character.
    while (p < line.size() && (static_cast<unsigned char>(line[p]) & 0xC0) == 0x80)
        ++p;
    return p < line.size() ? line.substr(p) : std::string_view{};
}

bool CTextReader::SkipToLineStartingWith(std::string_view a, std::string_view b) {
    if (!more_ || a.empty() || b.empty()) return false;
    const std::string_view text(text_);
    const char fa = static_cast<char>(a[0] | 0x20), fb = static_cast<char>(b[0] | 0x20);
    size_t lineStart = next_, ends = 0;
    auto startsLine = [&](size_t start) {
        size_t s = start;
        while (s < text.size() && (text[s] == ' ' || text[s] == '\t'))
            ++s;
        if (s == text.size()) return false;
        const char c = static_cast<char>(text[s] | 0x20);
        if (c != fa && c != fb) return false;
        const std::string_view rest = text.substr(s);
        return CUtf8::StartsWithNoCase(rest, a) || CUtf8::StartsWithNoCase(rest, b);
    };
    // Every separator ends a line (a CR before an LF stays at the end of its
    // line, where it does not change how the next one starts).
    auto onLineEnd = [&](size_t lf) {
        ++ends;
        lineStart = lf + 1;
        return startsLine(lineStart);
    };
    bool found = startsLine(lineStart);
    size_t pos = lineStart;
#if defined(__SSE2__)
    // Sixteen bytes at a time: most lines of a large export are passed over
    // without a call per line.
    const __m128i lf = _mm_set1_epi8(separator_);
    for (; !found && pos + 16 <= text.size(); pos += 16) {
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos)), lf)));
        while (mask != 0 && !found) {
            found = onLineEnd(pos + static_cast<size_t>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
    if (found) pos = lineStart;
#endif
    for (; !found && pos < text.size(); ++pos)
        if (text[pos] == separator_) found = onLineEnd(pos);
    if (!found) {
        // The rest is passed over: the last line has no end of its own.
        lineNo_ += ends + 1;
        next_ = text.size();
        more_ = false;
        currBegin_ = currLen_ = 0;
        return false;
    }
    lineNo_ += ends;
    next_ = lineStart;
    // The line is read as GetNextLine reads any line; the rules for blank
    // and comment lines cannot reject it.
    const std::string comment = std::exchange(comment_, std::string());
    const bool skipBlank = std::exchange(skipBlank_, false);
    GetNextLine();
    comment_ = comment;
    skipBlank_ = skipBlank;
    return true;
}

}  // namespace vellcfgrdr
