#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Cuts one line into tokens at any of a set of delimiter characters, runs of
// delimiters counting as one; optionally keeps double-quoted tokens whole.
// Also a cursor for hand-written scanning (PeekChar, SkipOver, ...). The
// source is not copied: it must outlive the tokenizer's use of it, so that a
// line of any length costs no memory of its own.
class CStringTokenizer {
  public:
    CStringTokenizer();

    // Restarts at the first character of source, which is kept as a view.
    // Quoted is taken into account here.
    void SetSource(std::string_view source);
    // Every character of the text is a delimiter; " ," by default.
    void SetDelimiters(std::string_view delimiters);
    void SetQuoted(bool on) noexcept { quoted_ = on; }
    // Remove leading and trailing spaces from the tokens of NextToken.
    void SetTrimToken(bool on) noexcept { trimToken_ = on; }
    // Comparison of FindNext, SkipOver and SubStringUpTo; case-insensitive
    // by default. Delimiter tests are always exact.
    void SetCaseSensitive(bool on) noexcept { caseSensitive_ = on; }

    // The next token, empty when none is left. A non-empty argument replaces
    // the delimiters for this and all later calls. A quoted token keeps its
    // quotes and doubled quotes. The delimiter that ends a token is left for
    // the next call.
    std::string NextToken(std::string_view delimiters = {});
    // NextToken as a view into the source.
    std::string_view NextTokenView(std::string_view delimiters = {});
    std::string FirstToken(std::string_view source, std::string_view delimiters = {});
    // The source from the cursor on.
    std::string Remainder() const;

    bool IsDelimiter(std::string_view c) const noexcept;
    std::string PeekChar() const;
    std::string NextChar();
    // Consumes the run of delimiters at the cursor.
    std::string NextDelimiters();
    // 1-based character position of s at or after the cursor; 0 if none.
    int32_t FindNext(std::string_view s) const;
    // Moves the cursor past the next occurrence of s, if any.
    bool SkipOver(std::string_view s);
    // The text from the cursor up to the next occurrence of s, the cursor
    // moving past it; empty and no move when s does not occur.
    std::string SubStringUpTo(std::string_view s);

  private:
    // Byte offset of the next occurrence of s at or after the cursor (npos
    // if none); end receives the offset just past it.
    size_t Find(std::string_view s, size_t& end) const noexcept;
    // Whether the character at pos is a delimiter; len receives its length.
    bool DelimiterAt(std::string_view text, size_t pos, size_t& len) const noexcept;
    std::string_view Scan() const noexcept { return useWork_ ? work_ : source_; }

    std::string_view source_;
    // The source with doubled quotes masked, for finding delimiters and
    // quotes; built only when the source has doubled quotes.
    std::string work_;
    bool useWork_ = false;
    size_t cur_ = 0;  // byte offset in source_
    std::string delims_;
    // ASCII delimiters by byte, and the lead bytes of the others.
    std::array<bool, 256> delimByte_{};
    bool quoted_ = false;
    bool quotedSource_ = false;  // Quoted as it was when the source was set
    bool trimToken_ = false;
    bool caseSensitive_ = false;
};

}  // namespace vellcfgrdr
