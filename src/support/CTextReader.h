#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Walks a text line by line, forward only. Lines end at LF, one CR before
// the LF dropped; a text with no LF at all ends its lines at CR instead. The text is held once and
// the lines are views into it: CurrLine, GetNextLine and Remainder stay
// valid until the next GetNextLine, SetText or ReadFile.
class CTextReader {
  public:
    void SetText(std::string text);
    void ReadFile(const std::string& path);

    // The next line that is not skipped (after trimming); empty at the end,
    // which AtEnd tells from an empty line.
    std::string_view GetNextLine();
    bool AtEnd() const noexcept { return !more_; }
    // Lines consumed so far, skipped ones included.
    int32_t LineNo() const noexcept { return static_cast<int32_t>(lineNo_); }
    std::string_view CurrLine() const noexcept {
        return std::string_view(text_).substr(currBegin_, currLen_);
    }

    // Whether s occurs in the current line. Afterwards Remainder gives the
    // line from one character past the end of the match (the separator that
    // usually follows a keyword is dropped), or the whole line on failure.
    bool LineContains(std::string_view s);
    // Whether the current line, without its leading and trailing spaces,
    // starts with s. On success Remainder gives the current line from the
    // character index len(s) on; on failure it is left as it was.
    bool LineStartsWith(std::string_view s);
    std::string_view Remainder() const noexcept;

    // Moves to the next line that, after its leading blanks, starts with
    // a or b (letter case ignored), as GetNextLine would read it. The lines
    // in between are passed over unread (blank-line and comment rules do not
    // apply to them) without being split one by one. False, at the end,
    // when no such line is left.
    bool SkipToLineStartingWith(std::string_view a, std::string_view b);

    // Case-insensitive comparison is the default.
    void SetCaseSensitive(bool on) noexcept { caseSensitive_ = on; }
    // Strip spaces and tabs at both ends of every line read.
    void SetTrimWhiteSpace(bool on) noexcept { trim_ = on; }
    void SetSkipBlankLines(bool on) noexcept { skipBlank_ = on; }
    // Lines starting with it (leading spaces aside) are skipped; empty: none.
    void SetLineCommentDelimiter(std::string delimiter) { comment_ = std::move(delimiter); }

  private:
    std::string text_;
    size_t next_ = 0;        // byte offset of the next line in text_
    bool more_ = false;      // a line starts at next_
    char separator_ = '\n';  // LF, or CR in a text without any LF
    size_t lineNo_ = 0;
    // The current line as offsets, not a view, so that a copied or moved
    // reader stays sound.
    size_t currBegin_ = 0;
    size_t currLen_ = 0;
    // Byte offset in the current line where Remainder starts. A new line
    // keeps it, so a Remainder asked for before any match on the new line
    // starts at the old offset; past the end it gives an empty remainder.
    size_t remStart_ = 0;
    bool caseSensitive_ = false;
    bool trim_ = false;
    bool skipBlank_ = false;
    std::string comment_;
};

}  // namespace vellcfgrdr
